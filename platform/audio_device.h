// The sound output as the engine sees it: decoded sounds played as voices. A voice is one or more
// layers (sounds of one length) that start, pause, loop, rewind and stop together, sample for
// sample, each with a gain of its own under the voice's gain; that is what lets a piece of music
// fade between its layers without drifting apart.
//
// The desktop implementation uses OpenAL Soft; the headless twin (and the desktop one when no
// audio device can be opened) is silent and accepts every call. Ids are never 0; a stale or
// unknown id is ignored. Update() runs once a frame on the main thread: it reclaims finished
// voices and, on the desktop, watches for a lost device and brings it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

struct VoiceLayer {
    SoundId sound = 0;
    float gain = 1.0f;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    virtual bool IsSilent() const = 0;
    // Returns 0 when the sound cannot be loaded.
    virtual SoundId LoadSound(const PcmSound& sound) = 0;
    // Starts every layer in the same sample. A voice that does not loop ends by itself and its id
    // goes stale; a looping one lives until Stop().
    virtual VoiceId Play(const std::vector<VoiceLayer>& layers, bool loop, float gain) = 0;
    virtual void Stop(VoiceId voice) = 0;
    virtual void SetPaused(VoiceId voice, bool paused) = 0;
    // Back to the first sample; a paused voice stays paused there.
    virtual void Rewind(VoiceId voice) = 0;
    virtual void SetGain(VoiceId voice, float gain) = 0;
    virtual void SetLayerGain(VoiceId voice, std::size_t layer, float gain) = 0;
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

// Decodes an Ogg Vorbis file. On failure returns false and `why` says what went wrong. Files
// above 64 MB or longer than ten minutes are refused, so a bad file cannot stall start-up.
bool DecodeOggVorbis(const std::string& path, PcmSound& out, std::string& why);

}  // namespace platform
