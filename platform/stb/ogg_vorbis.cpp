// Ogg Vorbis decoding through stb_vorbis, whose implementation lives in its own C target; here
// only its declarations are seen.
#include "platform/stb/ogg_vorbis.h"

#include <filesystem>
#include <fstream>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace platform {

namespace {
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;
constexpr double kMaxSeconds = 600.0;

stb_vorbis* Open(const std::vector<unsigned char>& bytes, int& code) {
    return stb_vorbis_open_memory(bytes.data(), static_cast<int>(bytes.size()), &code, nullptr);
}
}  // namespace

bool ReadOggVorbis(const std::string& path, EncodedSound& out, std::string& why) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        why = "cannot be opened";
        return false;
    }
    if (size > kMaxFileBytes) {
        why = "is larger than 64 MB";
        return false;
    }
    auto bytes = std::make_shared<std::vector<unsigned char>>(static_cast<std::size_t>(size));
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(size))) {
        why = "cannot be read";
        return false;
    }
    int code = 0;
    stb_vorbis* vorbis = Open(*bytes, code);
    if (!vorbis) {
        why = "is not Ogg Vorbis (decoder error " + std::to_string(code) + ")";
        return false;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    const unsigned frames = stb_vorbis_stream_length_in_samples(vorbis);
    stb_vorbis_close(vorbis);
    if (info.channels < 1 || info.channels > 2) {
        why = "has " + std::to_string(info.channels) + " channels (1 or 2 are played)";
        return false;
    }
    if (frames == 0 || frames > kMaxSeconds * info.sample_rate) {
        why = frames == 0 ? "holds no sound" : "is longer than ten minutes";
        return false;
    }
    out.bytes = std::move(bytes);
    out.channels = info.channels;
    out.sampleRate = static_cast<int>(info.sample_rate);
    out.frames = frames;
    return true;
}

bool DecodeOggVorbis(const EncodedSound& sound, PcmSound& out, std::string& why) {
    OggVorbisReader reader(sound);
    if (!reader.IsOpen()) {
        why = "is not Ogg Vorbis";
        return false;
    }
    out.channels = sound.channels;
    out.sampleRate = sound.sampleRate;
    out.samples.assign(sound.frames * static_cast<std::size_t>(sound.channels), 0);
    const std::size_t got = reader.Read(out.samples.data(), sound.frames);
    out.samples.resize(got * static_cast<std::size_t>(sound.channels));
    if (got == 0) {
        why = "holds no decodable sound";
        return false;
    }
    return true;
}

OggVorbisReader::OggVorbisReader(const EncodedSound& sound) : bytes_(sound.bytes) {
    if (!bytes_) {
        return;
    }
    int code = 0;
    vorbis_ = Open(*bytes_, code);
    if (vorbis_) {
        channels_ = stb_vorbis_get_info(vorbis_).channels;
    }
}

OggVorbisReader::~OggVorbisReader() {
    if (vorbis_) {
        stb_vorbis_close(vorbis_);
    }
}

bool OggVorbisReader::Seek(std::size_t frame) {
    if (!vorbis_) {
        return false;
    }
    if (frame == position_) {
        return true;
    }
    if (stb_vorbis_seek(vorbis_, static_cast<unsigned>(frame)) == 0) {
        position_ = static_cast<std::size_t>(-1);  // unknown: the next seek really seeks
        return false;
    }
    position_ = frame;
    return true;
}

std::size_t OggVorbisReader::Read(std::int16_t* out, std::size_t frames) {
    if (!vorbis_) {
        return 0;
    }
    std::size_t done = 0;
    while (done < frames) {
        const int got =
            stb_vorbis_get_samples_short_interleaved(vorbis_, channels_, out + done * channels_,
                                                     static_cast<int>((frames - done) * channels_));
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    position_ += done;
    return done;
}

}  // namespace platform
