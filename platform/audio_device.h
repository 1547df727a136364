// The sound output as the engine sees it: decoded sounds played as voices that may loop, with a
// gain and a pause. The desktop implementation uses OpenAL Soft; the headless twin (and the
// desktop one when no audio device can be opened) is silent and accepts every call.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

using SoundId = std::uint32_t;
using VoiceId = std::uint32_t;

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    virtual bool IsSilent() const = 0;
    // Mono or stereo 16-bit PCM; returns 0 when the sound cannot be loaded.
    virtual SoundId LoadSound(const std::vector<std::int16_t>& samples, int channels,
                              int sampleRate) = 0;
    virtual VoiceId Play(SoundId sound, bool loop, float gain) = 0;
    virtual void Stop(VoiceId voice) = 0;
    virtual void SetPaused(VoiceId voice, bool paused) = 0;
    virtual void SetGain(VoiceId voice, float gain) = 0;
    virtual bool IsPlaying(VoiceId voice) const = 0;
};

std::unique_ptr<AudioDevice> MakeSilentAudioDevice();

}  // namespace platform
