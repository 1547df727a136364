#include "audio/sound_event_layer.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "meta/data_diagnostics.h"

const char* AudioResultText(int code) {
    switch (code) {
        case static_cast<int>(AudioResult::Ok):
            return "No errors.";
        case static_cast<int>(AudioResult::NoDevice):
            return "The sound event layer was given no audio device to play on.";
        default:
            return "Unknown error.";
    }
}

std::unique_ptr<SoundEventLayer> SoundEventLayer::Create(platform::AudioDevice* device,
                                                         AudioResult& result) {
    if (!device) {
        result = AudioResult::NoDevice;
        return nullptr;
    }
    result = AudioResult::Ok;
    return std::unique_ptr<SoundEventLayer>(new SoundEventLayer(*device));
}

void SoundEventLayer::LoadBank(const std::string& bankPath, const std::string& soundFolder) {
    std::ifstream file(bankPath, std::ios::binary);
    if (!file) {
        if (!device_.IsSilent()) {
            DataDiagnostics::Report(bankPath, 0, "the event bank cannot be opened; no sound plays");
        }
        return;
    }
    std::ostringstream text;
    text << file.rdbuf();

    // A file shared by several events is decoded once; a failed one is reported once.
    std::unordered_map<std::string, platform::SoundId> loaded;
    std::unordered_map<std::string, std::size_t> frames;
    for (EventDescription& description : ParseEventBank(text.str(), bankPath)) {
        auto event = std::make_unique<LoadedEvent>();
        event->description = std::move(description);
        if (device_.IsSilent()) {
            // Nothing will be heard: the files stay on disk and the voices play nothing.
            for (std::size_t i = 0; i < event->description.files.size(); ++i) {
                event->sounds.push_back(device_.LoadSound({}));
            }
            byPath_.emplace(event->description.path, event.get());
            events_.push_back(std::move(event));
            continue;
        }
        bool complete = true;
        std::size_t layerFrames = 0;
        for (const std::string& name : event->description.files) {
            if (!complete) {
                break;
            }
            const std::string path = soundFolder + "/" + name;
            auto [it, first] = loaded.try_emplace(name, 0);
            if (first) {
                platform::PcmSound pcm;
                std::string why;
                if (!platform::DecodeOggVorbis(path, pcm, why)) {
                    DataDiagnostics::Report(path, 0, "sound file " + why + "; its event is silent");
                } else if ((it->second = device_.LoadSound(pcm)) == 0) {
                    DataDiagnostics::Report(path, 0, "the audio device refused the sound");
                }
                frames[name] = pcm.samples.size() / std::max(pcm.channels, 1);
            }
            if (layerFrames != 0 && frames[name] != layerFrames) {
                DataDiagnostics::Report(path, 0,
                                        "layers of \"" + event->description.path +
                                            "\" differ in length and will drift apart");
            }
            layerFrames = frames[name];
            complete = it->second != 0;
            event->sounds.push_back(it->second);
        }
        if (!complete) {
            event->sounds.clear();
        }
        byPath_.emplace(event->description.path, event.get());
        events_.push_back(std::move(event));
    }
}

const EventDescription* SoundEventLayer::FindEvent(const std::string& path) const {
    auto it = byPath_.find(path);
    return it == byPath_.end() ? nullptr : &it->second->description;
}

EventInstanceId SoundEventLayer::CreateInstance(const EventDescription& description) {
    auto it = byPath_.find(description.path);
    if (it == byPath_.end()) {
        return 0;
    }
    Instance instance;
    instance.event = it->second;
    for (const EventParameter& parameter : description.parameters) {
        instance.parameterValues.push_back(parameter.start);
    }
    Retarget(instance, false);
    instances_.emplace(++lastInstance_, std::move(instance));
    return lastInstance_;
}

void SoundEventLayer::Retarget(Instance& instance, bool fade) {
    const EventDescription& description = instance.event->description;
    instance.targetGains.assign(description.files.size(), 1.0f);
    for (std::size_t p = 0; p < description.parameters.size(); ++p) {
        const ParameterState& state =
            description.parameters[p].StateNearest(instance.parameterValues[p]);
        for (std::size_t layer = 0; layer < state.layerGains.size(); ++layer) {
            instance.targetGains[layer] *= state.layerGains[layer];
        }
    }
    if (!fade) {
        instance.layerGains = instance.targetGains;
        for (std::size_t layer = 0; layer < instance.layerGains.size(); ++layer) {
            device_.SetLayerGain(instance.voice, layer, instance.layerGains[layer]);
        }
    }
}

SoundEventLayer::Instance* SoundEventLayer::Find(EventInstanceId id) {
    auto it = instances_.find(id);
    return it == instances_.end() ? nullptr : &it->second;
}

const SoundEventLayer::Instance* SoundEventLayer::Find(EventInstanceId id) const {
    auto it = instances_.find(id);
    return it == instances_.end() ? nullptr : &it->second;
}

void SoundEventLayer::Start(EventInstanceId id) {
    Instance* instance = Find(id);
    if (!instance) {
        return;
    }
    if (instance->voice && device_.IsPlaying(instance->voice)) {
        device_.Rewind(instance->voice);
        return;
    }
    const LoadedEvent& event = *instance->event;
    if (event.sounds.empty()) {
        return;
    }
    std::vector<platform::VoiceLayer> layers;
    for (std::size_t i = 0; i < event.sounds.size(); ++i) {
        layers.push_back({event.sounds[i], instance->layerGains[i]});
    }
    instance->voice = device_.Play(layers, !event.description.oneShot, event.description.volume);
    if (instance->paused) {
        device_.SetPaused(instance->voice, true);
    }
}

void SoundEventLayer::Stop(EventInstanceId id) {
    Instance* instance = Find(id);
    if (!instance) {
        return;
    }
    device_.Stop(instance->voice);
    instance->voice = 0;
    if (instance->released) {
        instances_.erase(id);
    }
}

void SoundEventLayer::Release(EventInstanceId id) {
    Instance* instance = Find(id);
    if (!instance) {
        return;
    }
    instance->released = true;
    if (!instance->voice || !device_.IsPlaying(instance->voice)) {
        device_.Stop(instance->voice);
        instances_.erase(id);
    }
}

void SoundEventLayer::SetPaused(EventInstanceId id, bool paused) {
    if (Instance* instance = Find(id)) {
        instance->paused = paused;
        device_.SetPaused(instance->voice, paused);
    }
}

bool SoundEventLayer::GetPaused(EventInstanceId id) const {
    const Instance* instance = Find(id);
    return instance && instance->paused;
}

bool SoundEventLayer::IsValid(EventInstanceId id) const {
    return Find(id) != nullptr;
}

void SoundEventLayer::Set3DAttributes(EventInstanceId id, const Attributes3D& attributes) {
    if (Instance* instance = Find(id)) {
        instance->attributes = attributes;
    }
}

const Attributes3D* SoundEventLayer::Get3DAttributes(EventInstanceId id) const {
    const Instance* instance = Find(id);
    return instance ? &instance->attributes : nullptr;
}

bool SoundEventLayer::GetParameter(EventInstanceId id, const std::string& name,
                                   float& value) const {
    const Instance* instance = Find(id);
    if (!instance) {
        return false;
    }
    const auto& parameters = instance->event->description.parameters;
    for (std::size_t p = 0; p < parameters.size(); ++p) {
        if (parameters[p].name == name) {
            value = instance->parameterValues[p];
            return true;
        }
    }
    return false;
}

bool SoundEventLayer::SetParameter(EventInstanceId id, const std::string& name, float value) {
    Instance* instance = Find(id);
    if (!instance) {
        return false;
    }
    const auto& parameters = instance->event->description.parameters;
    for (std::size_t p = 0; p < parameters.size(); ++p) {
        if (parameters[p].name == name) {
            instance->parameterValues[p] = value;
            Retarget(*instance, parameters[p].fadeSeconds > 0.0f);
            return true;
        }
    }
    return false;
}

void SoundEventLayer::Update(double dt) {
    for (auto it = instances_.begin(); it != instances_.end();) {
        Instance& instance = it->second;
        if (instance.released && !device_.IsPlaying(instance.voice)) {
            device_.Stop(instance.voice);
            it = instances_.erase(it);
            continue;
        }
        // Every layer moves at the pace of the slowest fade the event's parameters ask for.
        float fadeSeconds = 0.0f;
        for (const EventParameter& parameter : instance.event->description.parameters) {
            fadeSeconds = std::max(fadeSeconds, parameter.fadeSeconds);
        }
        const float step = fadeSeconds > 0.0f ? static_cast<float>(dt) / fadeSeconds : 1.0f;
        for (std::size_t layer = 0; layer < instance.layerGains.size(); ++layer) {
            float& gain = instance.layerGains[layer];
            const float target = instance.targetGains[layer];
            if (gain != target) {
                gain =
                    gain < target ? std::min(target, gain + step) : std::max(target, gain - step);
                device_.SetLayerGain(instance.voice, layer, gain);
            }
        }
        ++it;
    }
    device_.Update(dt);
}

platform::VoiceId SoundEventLayer::VoiceOf(EventInstanceId id) const {
    const Instance* instance = Find(id);
    return instance ? instance->voice : 0;
}
