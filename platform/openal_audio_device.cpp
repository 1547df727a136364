// OpenAL Soft behind the audio device contract.
//
// Every voice is one source per layer, driven with the *v calls so the layers stay in step. The
// device keeps a copy of each sound's samples: when the output disappears (headphones pulled, a
// screen asleep; ALC_EXT_disconnect reports it) the whole OpenAL device is closed, the game plays
// on silently, and every few seconds the device is opened again, the sounds are uploaded anew and
// each looping voice resumes where it was, paused or not. One-shot sounds that were cut are not
// brought back.
#include "platform/openal_audio_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cmath>
#include <iostream>
#include <unordered_map>

namespace platform {
namespace {

constexpr double kRetrySeconds = 3.0;

class OpenALAudioDevice : public AudioDevice {
public:
    OpenALAudioDevice(std::string name, bool loopback, int sampleRate)
        : name_(std::move(name)), loopback_(loopback), sampleRate_(sampleRate) {}
    ~OpenALAudioDevice() override { Close(); }

    bool Open();
    std::vector<std::int16_t> Render(int frames);
    void SetLoopbackConnected(bool connected) { loopbackConnected_ = connected; }

    bool IsSilent() const override { return false; }
    SoundId LoadSound(const PcmSound& sound) override;
    VoiceId Play(const std::vector<VoiceLayer>& layers, bool loop, float gain) override;
    void Stop(VoiceId voice) override;
    void SetPaused(VoiceId voice, bool paused) override;
    void Rewind(VoiceId voice) override;
    void SetGain(VoiceId voice, float gain) override;
    void SetLayerGain(VoiceId voice, std::size_t layer, float gain) override;
    bool IsPlaying(VoiceId voice) const override;
    double PlaybackSeconds(VoiceId voice) const override;
    void Update(double dt) override;

private:
    struct Sound {
        PcmSound pcm;
        ALuint buffer = 0;
    };
    struct Voice {
        std::vector<VoiceLayer> layers;
        std::vector<ALuint> sources;  // empty while the device is lost
        bool loop = false;
        bool paused = false;
        float gain = 1.0f;
        double lastSeconds = 0.0;  // where a looping voice resumes after a lost device
    };

    void MakeCurrent() const;
    void Close();
    void LoseDevice();
    bool Upload(Sound& sound);
    bool CreateSources(Voice& voice);
    void DeleteSources(Voice& voice);
    ALint State(const Voice& voice) const;
    void PlaySources(const Voice& voice);
    Voice* Find(VoiceId id);
    const Voice* Find(VoiceId id) const;
    void ApplyGains(const Voice& voice);

    std::string name_;
    bool loopback_;
    int sampleRate_;
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples_ = nullptr;
    std::vector<Sound> sounds_;  // SoundId n is sounds_[n - 1]
    std::unordered_map<VoiceId, Voice> voices_;
    VoiceId lastVoice_ = 0;
    double retryTimer_ = 0.0;
    bool loopbackConnected_ = true;
};

bool OpenALAudioDevice::Open() {
    if (loopback_) {
        if (!loopbackConnected_) {
            return false;
        }
        auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
            alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        renderSamples_ = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
            alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        if (!openLoopback || !renderSamples_) {
            return false;
        }
        device_ = openLoopback(nullptr);
        const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                     ALC_STEREO_SOFT,
                                     ALC_FORMAT_TYPE_SOFT,
                                     ALC_SHORT_SOFT,
                                     ALC_FREQUENCY,
                                     sampleRate_,
                                     0};
        context_ = device_ ? alcCreateContext(device_, attributes) : nullptr;
    } else {
        device_ = alcOpenDevice(name_.empty() ? nullptr : name_.c_str());
        context_ = device_ ? alcCreateContext(device_, nullptr) : nullptr;
    }
    if (!context_) {
        Close();
        return false;
    }
    alcMakeContextCurrent(context_);
    for (Sound& sound : sounds_) {
        Upload(sound);
    }
    for (auto& [id, voice] : voices_) {
        if (CreateSources(voice) && !voice.paused) {
            PlaySources(voice);
        }
    }
    return true;
}

void OpenALAudioDevice::MakeCurrent() const {
    if (context_ && alcGetCurrentContext() != context_) {
        alcMakeContextCurrent(context_);
    }
}

void OpenALAudioDevice::Close() {
    MakeCurrent();
    for (auto& [id, voice] : voices_) {
        DeleteSources(voice);
    }
    for (Sound& sound : sounds_) {
        if (sound.buffer) {
            alDeleteBuffers(1, &sound.buffer);
            sound.buffer = 0;
        }
    }
    if (context_) {
        if (alcGetCurrentContext() == context_) {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(context_);
        context_ = nullptr;
    }
    if (device_) {
        alcCloseDevice(device_);
        device_ = nullptr;
    }
}

void OpenALAudioDevice::LoseDevice() {
    for (auto it = voices_.begin(); it != voices_.end();) {
        if (it->second.loop) {
            // A disconnect stops every source; one not yet stopped still knows where it was.
            if (State(it->second) != AL_STOPPED) {
                it->second.lastSeconds = PlaybackSeconds(it->first);
            }
            ++it;
        } else {
            DeleteSources(it->second);
            it = voices_.erase(it);
        }
    }
    Close();
    retryTimer_ = 0.0;
    std::cerr << "The sound device was lost; the game goes on silently and tries it again every "
              << kRetrySeconds << " seconds.\n";
}

bool OpenALAudioDevice::Upload(Sound& sound) {
    alGetError();
    alGenBuffers(1, &sound.buffer);
    const ALenum format = sound.pcm.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alBufferData(sound.buffer, format, sound.pcm.samples.data(),
                 static_cast<ALsizei>(sound.pcm.samples.size() * sizeof(std::int16_t)),
                 sound.pcm.sampleRate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &sound.buffer);
        sound.buffer = 0;
        return false;
    }
    return true;
}

bool OpenALAudioDevice::CreateSources(Voice& voice) {
    alGetError();
    voice.sources.assign(voice.layers.size(), 0);
    alGenSources(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
    if (alGetError() != AL_NO_ERROR) {
        voice.sources.clear();
        return false;
    }
    for (std::size_t i = 0; i < voice.layers.size(); ++i) {
        const Sound& sound = sounds_[voice.layers[i].sound - 1];
        const ALuint source = voice.sources[i];
        alSourcei(source, AL_BUFFER, static_cast<ALint>(sound.buffer));
        alSourcei(source, AL_LOOPING, voice.loop ? AL_TRUE : AL_FALSE);
        // Sounds are heard as mixed, from where the listener stands.
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        if (voice.lastSeconds > 0.0) {
            const double length = static_cast<double>(sound.pcm.samples.size()) /
                                  sound.pcm.channels / sound.pcm.sampleRate;
            alSourcef(source, AL_SEC_OFFSET,
                      static_cast<ALfloat>(std::fmod(voice.lastSeconds, length)));
        }
    }
    ApplyGains(voice);
    return true;
}

void OpenALAudioDevice::DeleteSources(Voice& voice) {
    if (!voice.sources.empty()) {
        alSourceStopv(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
        alDeleteSources(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
        voice.sources.clear();
    }
}

ALint OpenALAudioDevice::State(const Voice& voice) const {
    ALint state = AL_STOPPED;
    if (!voice.sources.empty()) {
        alGetSourcei(voice.sources.front(), AL_SOURCE_STATE, &state);
    }
    return state;
}

void OpenALAudioDevice::PlaySources(const Voice& voice) {
    alSourcePlayv(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
}

OpenALAudioDevice::Voice* OpenALAudioDevice::Find(VoiceId id) {
    auto it = voices_.find(id);
    return it == voices_.end() ? nullptr : &it->second;
}

const OpenALAudioDevice::Voice* OpenALAudioDevice::Find(VoiceId id) const {
    auto it = voices_.find(id);
    return it == voices_.end() ? nullptr : &it->second;
}

void OpenALAudioDevice::ApplyGains(const Voice& voice) {
    for (std::size_t i = 0; i < voice.sources.size(); ++i) {
        alSourcef(voice.sources[i], AL_GAIN, voice.gain * voice.layers[i].gain);
    }
}

SoundId OpenALAudioDevice::LoadSound(const PcmSound& pcm) {
    if (pcm.samples.empty() || (pcm.channels != 1 && pcm.channels != 2) || pcm.sampleRate <= 0) {
        return 0;
    }
    MakeCurrent();
    Sound sound{pcm, 0};
    if (device_ && !Upload(sound)) {
        return 0;
    }
    sounds_.push_back(std::move(sound));
    return static_cast<SoundId>(sounds_.size());
}

VoiceId OpenALAudioDevice::Play(const std::vector<VoiceLayer>& layers, bool loop, float gain) {
    if (layers.empty()) {
        return 0;
    }
    for (const VoiceLayer& layer : layers) {
        if (layer.sound == 0 || layer.sound > sounds_.size()) {
            return 0;
        }
    }
    MakeCurrent();
    Voice voice{layers, {}, loop, false, gain, 0.0};
    if (device_) {
        if (!CreateSources(voice)) {
            return 0;
        }
        PlaySources(voice);
    } else if (!loop) {
        // Cut short like every other one-shot of a lost device.
        return ++lastVoice_;
    }
    voices_.emplace(++lastVoice_, std::move(voice));
    return lastVoice_;
}

void OpenALAudioDevice::Stop(VoiceId id) {
    if (Voice* voice = Find(id)) {
        MakeCurrent();
        DeleteSources(*voice);
        voices_.erase(id);
    }
}

void OpenALAudioDevice::SetPaused(VoiceId id, bool paused) {
    Voice* voice = Find(id);
    if (!voice) {
        return;
    }
    voice->paused = paused;
    if (voice->sources.empty()) {
        return;
    }
    MakeCurrent();
    if (paused) {
        alSourcePausev(static_cast<ALsizei>(voice->sources.size()), voice->sources.data());
    } else if (const ALint state = State(*voice); state == AL_PAUSED || state == AL_INITIAL) {
        PlaySources(*voice);
    }
}

void OpenALAudioDevice::Rewind(VoiceId id) {
    Voice* voice = Find(id);
    if (!voice) {
        return;
    }
    voice->lastSeconds = 0.0;
    if (voice->sources.empty()) {
        return;
    }
    MakeCurrent();
    alSourceRewindv(static_cast<ALsizei>(voice->sources.size()), voice->sources.data());
    if (!voice->paused) {
        PlaySources(*voice);
    }
}

void OpenALAudioDevice::SetGain(VoiceId id, float gain) {
    if (Voice* voice = Find(id)) {
        voice->gain = gain;
        MakeCurrent();
        ApplyGains(*voice);
    }
}

void OpenALAudioDevice::SetLayerGain(VoiceId id, std::size_t layer, float gain) {
    Voice* voice = Find(id);
    if (!voice || layer >= voice->layers.size()) {
        return;
    }
    voice->layers[layer].gain = gain;
    MakeCurrent();
    ApplyGains(*voice);
}

bool OpenALAudioDevice::IsPlaying(VoiceId id) const {
    const Voice* voice = Find(id);
    if (!voice) {
        return false;
    }
    if (voice->sources.empty()) {
        return true;  // a looping voice waiting for its device
    }
    MakeCurrent();
    const ALint state = State(*voice);
    return state == AL_PLAYING || state == AL_PAUSED || (state == AL_INITIAL && voice->paused);
}

double OpenALAudioDevice::PlaybackSeconds(VoiceId id) const {
    const Voice* voice = Find(id);
    if (!voice) {
        return 0.0;
    }
    if (voice->sources.empty()) {
        return voice->lastSeconds;
    }
    MakeCurrent();
    ALfloat seconds = 0.0f;
    alGetSourcef(voice->sources.front(), AL_SEC_OFFSET, &seconds);
    return seconds;
}

void OpenALAudioDevice::Update(double dt) {
    if (!device_) {
        retryTimer_ += dt;
        if (retryTimer_ >= kRetrySeconds) {
            retryTimer_ = 0.0;
            if (Open()) {
                std::cerr << "The sound device is back.\n";
            }
        }
        return;
    }
    MakeCurrent();
    ALCint connected = ALC_TRUE;
    if (loopback_) {
        connected = loopbackConnected_ ? ALC_TRUE : ALC_FALSE;
    } else {
        alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
    }
    if (connected != ALC_TRUE) {
        LoseDevice();
        return;
    }
    for (auto it = voices_.begin(); it != voices_.end();) {
        Voice& voice = it->second;
        if (voice.loop) {
            voice.lastSeconds = PlaybackSeconds(it->first);
            ++it;
        } else if (State(voice) == AL_STOPPED) {
            DeleteSources(voice);
            it = voices_.erase(it);
        } else {
            ++it;
        }
    }
}

std::vector<std::int16_t> OpenALAudioDevice::Render(int frames) {
    std::vector<std::int16_t> out;
    if (!loopback_ || !device_ || frames <= 0) {
        return out;
    }
    MakeCurrent();
    out.resize(static_cast<std::size_t>(frames) * 2);
    renderSamples_(device_, out.data(), frames);
    return out;
}

}  // namespace

std::unique_ptr<AudioDevice> OpenOpenALDevice(const std::string& deviceName) {
    auto device = std::make_unique<OpenALAudioDevice>(deviceName, false, 0);
    if (!device->Open()) {
        return nullptr;
    }
    return device;
}

std::unique_ptr<AudioDevice> OpenLoopbackAudioDevice(int sampleRate) {
    auto device = std::make_unique<OpenALAudioDevice>(std::string(), true, sampleRate);
    if (!device->Open()) {
        return nullptr;
    }
    return device;
}

std::vector<std::int16_t> RenderLoopback(AudioDevice& device, int frames) {
    auto* openal = dynamic_cast<OpenALAudioDevice*>(&device);
    return openal ? openal->Render(frames) : std::vector<std::int16_t>{};
}

void SetLoopbackConnected(AudioDevice& device, bool connected) {
    if (auto* openal = dynamic_cast<OpenALAudioDevice*>(&device)) {
        openal->SetLoopbackConnected(connected);
    }
}

std::unique_ptr<AudioDevice> OpenAudioDevice(const std::string& deviceName) {
    if (std::unique_ptr<AudioDevice> device = OpenOpenALDevice(deviceName)) {
        return device;
    }
    static bool told = false;
    if (!told) {
        told = true;
        std::cerr << "Sound is off: no audio device could be opened. The game plays on silently.\n";
    }
    return MakeSilentAudioDevice();
}

}  // namespace platform
