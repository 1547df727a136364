// The OpenAL device's life: opening, closing, the feeder thread, sources of voices, and the
// recovery from a lost output.
#include "platform/openal/openal_device.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>

#include "platform/openal/openal_audio_device.h"

namespace platform {
namespace {

constexpr double kRetrySeconds = 3.0;
// How often the feeder thread tops up the streamed voices' queues.
constexpr auto kFeedInterval = std::chrono::milliseconds(20);
// A stereo file's channels sit this far either side of where the voice is placed.
constexpr float kStereoSpread = 0.5235988f;  // 30 degrees

}  // namespace

bool OpenALAudioDevice::Open() {
    const bool opened = loopback_ ? OpenLoopback() : OpenOutput();
    if (!opened || !context_) {
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
    StartFeeder();
    return true;
}

bool OpenALAudioDevice::OpenOutput() {
    device_ = alcOpenDevice(name_.empty() ? nullptr : name_.c_str());
    context_ = device_ ? alcCreateContext(device_, nullptr) : nullptr;
    return context_ != nullptr;
}

void OpenALAudioDevice::StartFeeder() {
    if (!feederThread_ || feeding_) {
        return;
    }
    feeding_ = true;
    feeder_ = std::thread([this] {
        while (feeding_) {
            // Never waits for the lock: a round the main thread holds it is skipped, so the main
            // thread can stop the feeder while holding it.
            if (std::unique_lock lock(mutex_, std::try_to_lock); lock.owns_lock()) {
                FeedAll();
            }
            std::this_thread::sleep_for(kFeedInterval);
        }
    });
}

void OpenALAudioDevice::StopFeeder() {
    if (feeder_.joinable()) {
        feeding_ = false;
        feeder_.join();
    }
}

void OpenALAudioDevice::MakeCurrent() const {
    if (context_ && alcGetCurrentContext() != context_) {
        alcMakeContextCurrent(context_);
    }
}

void OpenALAudioDevice::Close() {
    StopFeeder();
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
                it->second.lastSeconds = Seconds(it->second);
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
    if (sound.Streamed()) {
        return true;  // streamed voices bring buffers of their own
    }
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
        const ALuint source = voice.sources[i];
        // Sounds are heard from where the listener stands: in the middle, or where placed.
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        if (!Streamed(voice)) {
            alSourcei(source, AL_BUFFER, static_cast<ALint>(SoundOf(voice, i).buffer));
            alSourcei(source, AL_LOOPING, voice.loop ? AL_TRUE : AL_FALSE);
        }
    }
    ApplyGains(voice);
    ApplyPlacement(voice);
    const double length =
        static_cast<double>(SoundOf(voice, 0).Frames()) / SoundOf(voice, 0).Rate();
    const double resumeAt = voice.lastSeconds > 0.0 ? std::fmod(voice.lastSeconds, length) : 0.0;
    if (Streamed(voice)) {
        StartStream(voice, static_cast<std::size_t>(resumeAt * SoundOf(voice, 0).Rate()));
        if (voice.stream) {
            voice.stream->jump = voice.pendingJump;
        }
    } else if (resumeAt > 0.0) {
        for (ALuint source : voice.sources) {
            alSourcef(source, AL_SEC_OFFSET, static_cast<ALfloat>(resumeAt));
        }
    }
    return true;
}

void OpenALAudioDevice::DeleteSources(Voice& voice) {
    if (!voice.sources.empty()) {
        alSourceStopv(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
        for (ALuint source : voice.sources) {
            alSourcei(source, AL_BUFFER, 0);
        }
        alDeleteSources(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
        voice.sources.clear();
    }
    if (voice.stream) {
        voice.pendingJump = voice.stream->jump;
        for (auto& buffers : voice.stream->allBuffers) {
            alDeleteBuffers(static_cast<ALsizei>(buffers.size()), buffers.data());
        }
        voice.stream.reset();
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

const OpenALAudioDevice::Voice* OpenALAudioDevice::Find(VoiceId id) const {
    auto it = voices_.find(id);
    return it == voices_.end() ? nullptr : &it->second;
}

void OpenALAudioDevice::ApplyGains(const Voice& voice) {
    for (std::size_t i = 0; i < voice.sources.size(); ++i) {
        alSourcef(voice.sources[i], AL_GAIN, voice.gain * voice.layers[i].gain);
    }
}

void OpenALAudioDevice::ApplyPlacement(const Voice& voice) {
    for (std::size_t i = 0; i < voice.sources.size(); ++i) {
        const ALuint source = voice.sources[i];
        const bool stereo = SoundOf(voice, i).Channels() == 2;
        if (!voice.pan) {
            // Stereo plays left to left and right to right; mono sits in the middle.
            if (stereo) {
                alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
            }
            alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
            continue;
        }
        // Angles run anticlockwise from straight ahead: left is positive.
        const float angle = -std::clamp(*voice.pan, -1.0f, 1.0f) * kHalfPi;
        if (stereo) {
            const ALfloat angles[2] = {std::clamp(angle + kStereoSpread, -kHalfPi, kHalfPi),
                                       std::clamp(angle - kStereoSpread, -kHalfPi, kHalfPi)};
            alSourcefv(source, AL_STEREO_ANGLES, angles);
        } else {
            alSource3f(source, AL_POSITION, -std::sin(angle), 0.0f, -std::cos(angle));
        }
    }
}

double OpenALAudioDevice::Seconds(const Voice& voice) const {
    if (voice.sources.empty()) {
        return voice.lastSeconds;
    }
    const int rate = SoundOf(voice, 0).Rate();
    if (!voice.stream) {
        ALfloat seconds = 0.0f;
        alGetSourcef(voice.sources.front(), AL_SEC_OFFSET, &seconds);
        return seconds;
    }
    // A queue's offset counts from its first chunk still queued.
    ALint offset = 0;
    alGetSourcei(voice.sources.front(), AL_SAMPLE_OFFSET, &offset);
    std::size_t left = static_cast<std::size_t>(std::max(offset, 0));
    std::size_t frame = voice.stream->next;
    for (const Chunk& chunk : voice.stream->queued) {
        if (left < chunk.frames) {
            frame = chunk.start + left;
            break;
        }
        left -= chunk.frames;
    }
    return static_cast<double>(frame % std::max<std::size_t>(SoundOf(voice, 0).Frames(), 1)) / rate;
}

void OpenALAudioDevice::Update(double dt) {
    std::lock_guard lock(mutex_);
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
            voice.lastSeconds = Seconds(voice);
            ++it;
        } else if (!IsPlaying(it->first)) {
            DeleteSources(voice);
            it = voices_.erase(it);
        } else {
            ++it;
        }
    }
}

std::unique_ptr<AudioDevice> OpenOpenALDevice(const std::string& deviceName) {
    auto device = std::make_unique<OpenALAudioDevice>(deviceName, false, 0, true);
    if (!device->Open()) {
        return nullptr;
    }
    return device;
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
