// The OpenAL Soft audio device's parts, shared by the files that implement it: the device's life
// and its lost-device recovery (openal_device.cpp), the contract's calls on voices
// (openal_voices.cpp), streaming (openal_streaming.cpp) and the loopback hooks for tests
// (loopback_device.cpp).
//
// Every voice is one source per layer, driven with the *v calls so the layers stay in step. A
// decoded sound is one OpenAL buffer. A streamed voice keeps a short queue of decoded chunks on
// each source, every layer chunked alike, so the layers stay in step as they play; a feeder
// thread tops the queues up (a loopback device, which plays only when asked to render, may top them
// up between the pieces it renders instead). Should a queue run dry all the same (a machine
// stalled for longer than the queue lasts), every layer stops together and starts again together
// where it was.
//
// The device keeps what it needs to upload each sound again: when the output disappears
// (headphones pulled, a screen asleep; ALC_EXT_disconnect reports it) the whole OpenAL device is
// closed, the game plays on silently, and every few seconds the device is opened again, the sounds
// are uploaded anew and each looping voice resumes where it was, paused or not. One-shot sounds
// that were cut are not brought back.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/audio_device.h"
#include "platform/stb/ogg_vorbis.h"

namespace platform {

inline constexpr float kHalfPi = 1.5707964f;

class OpenALAudioDevice : public AudioDevice {
public:
    OpenALAudioDevice(std::string name, bool loopback, int sampleRate, bool feederThread)
        : name_(std::move(name)),
          loopback_(loopback),
          feederThread_(feederThread),
          sampleRate_(sampleRate) {}
    ~OpenALAudioDevice() override {
        std::lock_guard lock(mutex_);
        Close();
    }

    bool Open();
    // The loopback device's hooks (platform/openal/loopback_device.h).
    std::vector<std::int16_t> Render(int frames);
    void SetLoopbackConnected(bool connected) {
        std::lock_guard lock(mutex_);
        loopbackConnected_ = connected;
    }

    bool IsSilent() const override { return false; }
    SoundId LoadSound(const PcmSound& sound) override;
    SoundId LoadStreamedSound(const EncodedSound& sound) override;
    VoiceId Play(const std::vector<VoiceLayer>& layers, bool loop, float gain,
                 std::optional<float> pan) override;
    void Stop(VoiceId voice) override;
    void SetPaused(VoiceId voice, bool paused) override;
    void Rewind(VoiceId voice) override;
    void SetGain(VoiceId voice, float gain) override;
    void SetLayerGain(VoiceId voice, std::size_t layer, float gain) override;
    void SetPan(VoiceId voice, float pan) override;
    void JumpTo(VoiceId voice, double seconds, double grid) override;
    bool IsPlaying(VoiceId voice) const override;
    double PlaybackSeconds(VoiceId voice) const override;
    void Update(double dt) override;

private:
    struct Sound {
        PcmSound pcm;          // a decoded sound
        EncodedSound encoded;  // a streamed one
        ALuint buffer = 0;     // decoded sounds only
        bool Streamed() const { return encoded.bytes != nullptr; }
        std::size_t Frames() const {
            return Streamed() ? encoded.frames
                              : pcm.samples.size() / static_cast<std::size_t>(pcm.channels);
        }
        int Rate() const { return Streamed() ? encoded.sampleRate : pcm.sampleRate; }
        int Channels() const { return Streamed() ? encoded.channels : pcm.channels; }
    };
    // One queued chunk of a streamed voice, alike on every layer: the frame of the sound it
    // starts at and how many frames it holds.
    struct Chunk {
        std::size_t start = 0;
        std::size_t frames = 0;
    };
    struct Jump {
        std::size_t to = 0;
        std::size_t grid = 0;
    };
    struct Stream {
        std::vector<std::unique_ptr<OggVorbisReader>> readers;  // one per layer
        std::vector<std::vector<ALuint>> freeBuffers;           // per layer
        std::vector<std::vector<ALuint>> allBuffers;            // per layer
        std::deque<Chunk> queued;
        std::size_t next = 0;  // the sound's frame the next chunk starts at
        bool ended = false;    // a one-shot has queued its last frame
        std::optional<Jump> jump;
    };
    struct Voice {
        std::vector<VoiceLayer> layers;
        std::vector<ALuint> sources;  // empty while the device is lost
        bool loop = false;
        bool paused = false;
        float gain = 1.0f;
        std::optional<float> pan;
        double lastSeconds = 0.0;  // where a looping voice resumes after a lost device
        std::unique_ptr<Stream> stream;
        std::optional<Jump> pendingJump;  // kept across a lost device
    };

    bool OpenOutput();
    bool OpenLoopback();
    void MakeCurrent() const;
    void Close();
    void LoseDevice();
    bool Upload(Sound& sound);
    const Sound& SoundOf(const Voice& voice, std::size_t layer) const {
        return sounds_[voice.layers[layer].sound - 1];
    }
    bool Streamed(const Voice& voice) const { return SoundOf(voice, 0).Streamed(); }
    bool CreateSources(Voice& voice);
    void DeleteSources(Voice& voice);
    ALint State(const Voice& voice) const;
    void PlaySources(const Voice& voice);
    const Voice* Find(VoiceId id) const;
    Voice* Find(VoiceId id) { return const_cast<Voice*>(std::as_const(*this).Find(id)); }
    void ApplyGains(const Voice& voice);
    void ApplyPlacement(const Voice& voice);
    double Seconds(const Voice& voice) const;

    // Streaming.
    void StartStream(Voice& voice, std::size_t frame);
    void ClearQueues(Voice& voice);
    void Feed(Voice& voice);
    void FeedAll();
    bool QueueChunk(Voice& voice);
    std::size_t ReadLooped(const Voice& voice, std::size_t layer, std::size_t from,
                           std::int16_t* out, std::size_t frames);
    void StartFeeder();
    void StopFeeder();

    std::string name_;
    bool loopback_;
    bool feederThread_;  // false: a loopback device feeds between the pieces it renders
    int sampleRate_;
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples_ = nullptr;
    std::vector<Sound> sounds_;  // SoundId n is sounds_[n - 1]
    std::unordered_map<VoiceId, Voice> voices_;
    VoiceId lastVoice_ = 0;
    double retryTimer_ = 0.0;
    bool loopbackConnected_ = true;
    std::vector<std::int16_t> scratch_;
    std::vector<std::int16_t> fadeScratch_;

    // Guards everything above against the feeder thread.
    // Recursive: the contract's calls also use each other.
    mutable std::recursive_mutex mutex_;
    std::thread feeder_;
    std::atomic<bool> feeding_{false};
};

}  // namespace platform
