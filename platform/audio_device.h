// The sound output as the engine sees it: sounds played as voices. A voice is one or more layers
// (sounds of one length) that start, pause, loop, rewind and stop together, sample for sample,
// each with a gain of its own under the voice's gain; that is what lets a piece of music fade
// between its layers without drifting apart.
//
// A sound is either decoded whole when loaded (short effects) or streamed: kept as its Ogg Vorbis
// bytes and decoded as it plays (music, which would take tens of megabytes decoded). Only a
// streamed voice can jump to another point of its sound on a beat (JumpTo); a voice's layers are
// all of one kind.
//
// A voice is heard either as its sound is (a stereo file stays stereo, a mono one sits in the
// middle) or placed: panned between left and right. Placing is fixed when the voice starts.
//
// The desktop implementation uses OpenAL Soft; the headless twin (and the desktop one when no
// audio device can be opened) is silent and accepts every call. Ids are never 0; a stale or
// unknown id is ignored. Update() runs once a frame on the main thread: it reclaims finished
// voices and, on the desktop, watches for a lost device and brings it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using SoundId = std::uint32_t;
using VoiceId = std::uint32_t;

// Interleaved 16-bit PCM, one or two channels.
struct PcmSound {
    std::vector<std::int16_t> samples;
    int channels = 1;
    int sampleRate = 44100;
};

// An Ogg Vorbis file held encoded, with what its header says.
struct EncodedSound {
    std::shared_ptr<const std::vector<unsigned char>> bytes;
    int channels = 1;
    int sampleRate = 44100;
    std::size_t frames = 0;
};

struct VoiceLayer {
    SoundId sound = 0;
    float gain = 1.0f;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    virtual bool IsSilent() const = 0;
    // Return 0 when the sound cannot be loaded.
    virtual SoundId LoadSound(const PcmSound& sound) = 0;
    virtual SoundId LoadStreamedSound(const EncodedSound& sound) = 0;
    // Starts every layer in the same sample. A voice that does not loop ends by itself and its id
    // goes stale; a looping one lives until Stop(). `pan` places the voice, -1 full left to 1 full
    // right; without it the sound's own channels are heard as they are.
    virtual VoiceId Play(const std::vector<VoiceLayer>& layers, bool loop, float gain,
                         std::optional<float> pan) = 0;
    virtual void Stop(VoiceId voice) = 0;
    virtual void SetPaused(VoiceId voice, bool paused) = 0;
    // Back to the first sample; a paused voice stays paused there.
    virtual void Rewind(VoiceId voice) = 0;
    virtual void SetGain(VoiceId voice, float gain) = 0;
    virtual void SetLayerGain(VoiceId voice, std::size_t layer, float gain) = 0;
    // Moves a placed voice; an unplaced one stays as it is.
    virtual void SetPan(VoiceId voice, float pan) = 0;
    // A streamed voice goes on from `seconds` of its sound once it reaches the next whole
    // multiple of `grid` seconds not yet on its way to the speakers (the next bar line, for
    // music), with a crossfade of a few milliseconds. A later jump replaces one not yet made.
    // Decoded voices ignore it.
    virtual void JumpTo(VoiceId voice, double seconds, double grid) = 0;
    // Whether the voice still has sound to give (playing or paused).
    virtual bool IsPlaying(VoiceId voice) const = 0;
    // Where the voice is in its sound, in seconds from its start.
    virtual double PlaybackSeconds(VoiceId voice) const = 0;
    // `dt` is the length of the last frame in seconds.
    virtual void Update(double /*dt*/) {}
};

std::unique_ptr<AudioDevice> MakeSilentAudioDevice();

// The sound card through OpenAL Soft: the system's default output, or the device called
// `deviceName`. When none opens, the silent device, after one line on standard error (once per
// run) saying that sound is off.
std::unique_ptr<AudioDevice> OpenAudioDevice(const std::string& deviceName = {});

// Reads an Ogg Vorbis file and checks its header. On failure returns false and `why` says what
// went wrong. Files above 64 MB or longer than ten minutes, and those with other than one or two
// channels, are refused, so a bad file cannot stall start-up.
bool ReadOggVorbis(const std::string& path, EncodedSound& out, std::string& why);
// Decodes a file read by ReadOggVorbis whole.
bool DecodeOggVorbis(const EncodedSound& sound, PcmSound& out, std::string& why);

}  // namespace platform
