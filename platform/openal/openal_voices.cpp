// The audio device contract's calls on sounds and voices, each under the device's lock.
#include "platform/openal/openal_device.h"

#include <cmath>

namespace platform {

SoundId OpenALAudioDevice::LoadSound(const PcmSound& pcm) {
    std::lock_guard lock(mutex_);
    if (pcm.samples.empty() || (pcm.channels != 1 && pcm.channels != 2) || pcm.sampleRate <= 0) {
        return 0;
    }
    MakeCurrent();
    Sound sound;
    sound.pcm = pcm;
    if (device_ && !Upload(sound)) {
        return 0;
    }
    sounds_.push_back(std::move(sound));
    return static_cast<SoundId>(sounds_.size());
}

SoundId OpenALAudioDevice::LoadStreamedSound(const EncodedSound& encoded) {
    std::lock_guard lock(mutex_);
    if (!encoded.bytes || encoded.frames == 0 || (encoded.channels != 1 && encoded.channels != 2) ||
        encoded.sampleRate <= 0 || !OggVorbisReader(encoded).IsOpen()) {
        return 0;
    }
    Sound sound;
    sound.encoded = encoded;
    sounds_.push_back(std::move(sound));
    return static_cast<SoundId>(sounds_.size());
}

VoiceId OpenALAudioDevice::Play(const std::vector<VoiceLayer>& layers, bool loop, float gain,
                                std::optional<float> pan) {
    std::lock_guard lock(mutex_);
    if (layers.empty()) {
        return 0;
    }
    for (const VoiceLayer& layer : layers) {
        if (layer.sound == 0 || layer.sound > sounds_.size() ||
            sounds_[layer.sound - 1].Streamed() != sounds_[layers[0].sound - 1].Streamed()) {
            return 0;
        }
    }
    MakeCurrent();
    Voice voice;
    voice.layers = layers;
    voice.loop = loop;
    voice.gain = gain;
    voice.pan = pan;
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
    std::lock_guard lock(mutex_);
    if (Voice* voice = Find(id)) {
        MakeCurrent();
        DeleteSources(*voice);
        voices_.erase(id);
    }
}

void OpenALAudioDevice::SetPaused(VoiceId id, bool paused) {
    std::lock_guard lock(mutex_);
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
    } else {
        Feed(*voice);  // a stream rewound while paused waits, stopped, with its queue full
    }
}

void OpenALAudioDevice::Rewind(VoiceId id) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice) {
        return;
    }
    voice->lastSeconds = 0.0;
    if (voice->sources.empty()) {
        return;
    }
    MakeCurrent();
    if (voice->stream) {
        ClearQueues(*voice);
        voice->stream->next = 0;
        voice->stream->jump.reset();
        Feed(*voice);  // starts it again unless paused
        return;
    }
    alSourceRewindv(static_cast<ALsizei>(voice->sources.size()), voice->sources.data());
    if (!voice->paused) {
        PlaySources(*voice);
    }
}

void OpenALAudioDevice::SetGain(VoiceId id, float gain) {
    std::lock_guard lock(mutex_);
    if (Voice* voice = Find(id)) {
        voice->gain = gain;
        MakeCurrent();
        ApplyGains(*voice);
    }
}

void OpenALAudioDevice::SetLayerGain(VoiceId id, std::size_t layer, float gain) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice || layer >= voice->layers.size()) {
        return;
    }
    voice->layers[layer].gain = gain;
    MakeCurrent();
    ApplyGains(*voice);
}

void OpenALAudioDevice::SetPan(VoiceId id, float pan) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice || !voice->pan) {
        return;
    }
    voice->pan = pan;
    MakeCurrent();
    ApplyPlacement(*voice);
}

void OpenALAudioDevice::JumpTo(VoiceId id, double seconds, double grid) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice || !Streamed(*voice) || seconds < 0.0 || grid <= 0.0) {
        return;
    }
    const Sound& sound = SoundOf(*voice, 0);
    const auto to = static_cast<std::size_t>(std::llround(seconds * sound.Rate()));
    if (to >= sound.Frames()) {
        return;
    }
    const Jump jump{to, static_cast<std::size_t>(std::llround(grid * sound.Rate()))};
    if (voice->stream) {
        voice->stream->jump = jump;
    } else {
        voice->pendingJump = jump;
    }
}

bool OpenALAudioDevice::IsPlaying(VoiceId id) const {
    std::lock_guard lock(mutex_);
    const Voice* voice = Find(id);
    if (!voice) {
        return false;
    }
    if (voice->sources.empty()) {
        return true;  // a looping voice waiting for its device
    }
    if (voice->stream && !voice->stream->ended) {
        return true;  // more to come, even if its queue ran dry for a moment
    }
    MakeCurrent();
    const ALint state = State(*voice);
    return state == AL_PLAYING || state == AL_PAUSED || (state == AL_INITIAL && voice->paused);
}

double OpenALAudioDevice::PlaybackSeconds(VoiceId id) const {
    std::lock_guard lock(mutex_);
    const Voice* voice = Find(id);
    if (!voice) {
        return 0.0;
    }
    MakeCurrent();
    return Seconds(*voice);
}

}  // namespace platform
