// A streamed sound's decoder: Ogg Vorbis bytes held in memory, decoded a piece at a time from any
// frame. Each playing layer of a streamed voice owns one; the bytes are shared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio_device.h"

struct stb_vorbis;

namespace platform {

class OggVorbisReader {
public:
    explicit OggVorbisReader(const EncodedSound& sound);
    ~OggVorbisReader();
    OggVorbisReader(const OggVorbisReader&) = delete;
    OggVorbisReader& operator=(const OggVorbisReader&) = delete;

    bool IsOpen() const { return vorbis_ != nullptr; }
    int Channels() const { return channels_; }
    // Frame `frame` is the next one read; false past the end. Free when it already is.
    bool Seek(std::size_t frame);
    // Decodes up to `frames` frames, interleaved, into `out`; fewer only at the end of the sound.
    std::size_t Read(std::int16_t* out, std::size_t frames);

private:
    std::shared_ptr<const std::vector<unsigned char>> bytes_;
    stb_vorbis* vorbis_ = nullptr;
    int channels_ = 1;
    std::size_t position_ = 0;
};

}  // namespace platform
