#include "audio/sound_event_layer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/screen.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"

namespace {

// Sounds longer than this are streamed: decoded as they play instead of at start-up.
constexpr double kStreamAboveSeconds = 20.0;
// Half the width the camera shows; a world sound this far to a side is heard at kEdgePan, and
// none further than kMaxPan, so that both ears always hear a little of it.
constexpr float kHalfViewWidth = Screen::kCentreX;
constexpr float kEdgePan = 0.7f;
constexpr float kMaxPan = 0.9f;
// The distance at which a world sound is heard at half its loudness.
constexpr float kHalfLoudnessDistance = 1600.0f;

}  // namespace

WorldPlacement PlaceInWorld(const Vector2D& source, const Vector2D& listener) {
    const Vector2D d = source - listener;
    WorldPlacement placement;
    placement.pan = std::clamp(d.x / kHalfViewWidth * kEdgePan, -kMaxPan, kMaxPan);
    const float distance = std::sqrt(d.x * d.x + d.y * d.y) / kHalfLoudnessDistance;
    placement.gain = 1.0f / (1.0f + distance * distance);
    return placement;
}

std::unique_ptr<SoundEventLayer> SoundEventLayer::Create(platform::AudioDevice* device) {
    if (!device) {
        return nullptr;
    }
    return std::unique_ptr<SoundEventLayer>(new SoundEventLayer(*device));
}

// 0 when the file cannot be read or the device refuses it (reported); `frames` its length.
platform::SoundId SoundEventLayer::LoadFile(const std::string& path, std::size_t& frames) {
    platform::EncodedSound encoded;
    std::string why;
    if (!platform::ReadOggVorbis(path, encoded, why)) {
        DataDiagnostics::Report(path, 0, "sound file " + why + "; its event is silent");
        return 0;
    }
    frames = encoded.frames;
    platform::SoundId id = 0;
    if (static_cast<double>(encoded.frames) > kStreamAboveSeconds * encoded.sampleRate) {
        id = device_.LoadStreamedSound(encoded);
    } else {
        platform::PcmSound pcm;
        if (!platform::DecodeOggVorbis(encoded, pcm, why)) {
            DataDiagnostics::Report(path, 0, "sound file " + why + "; its event is silent");
            return 0;
        }
        frames = pcm.samples.size() / static_cast<std::size_t>(pcm.channels);
        id = device_.LoadSound(pcm);
    }
    if (id == 0) {
        DataDiagnostics::Report(path, 0, "the audio device refused the sound");
    }
    return id;
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

    // A file shared by several events is read once; a failed one is reported once.
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
            std::string why;
            const std::optional<std::filesystem::path> inside =
                Assets::Inside(soundFolder, name, &why);
            const std::string path = inside ? inside->string() : soundFolder + "/" + name;
            auto [it, first] = loaded.try_emplace(name, 0);
            if (first && !inside) {
                DataDiagnostics::Report(bankPath, 0,
                                        "sound file refused: " + why + "; its event is silent");
            } else if (first) {
                it->second = LoadFile(path, frames[name]);
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
        instance.states.push_back(parameter.IndexNearest(parameter.start));
    }
    // A loop comes in softly; a one-shot's own attack is its start.
    instance.fade = description.oneShot ? 1.0f : 0.0f;
    Retarget(instance, false);
    instances_.emplace(++lastInstance_, std::move(instance));
    return lastInstance_;
}

void SoundEventLayer::Retarget(Instance& instance, bool fade) {
    const EventDescription& description = instance.event->description;
    instance.targetGains.assign(description.files.size(), 1.0f);
    for (std::size_t p = 0; p < description.parameters.size(); ++p) {
        const EventParameter& parameter = description.parameters[p];
        const std::size_t state = parameter.IndexNearest(instance.parameterValues[p]);
        const ParameterState& gains = parameter.states[state];
        for (std::size_t layer = 0; layer < gains.layerGains.size(); ++layer) {
            instance.targetGains[layer] *= gains.layerGains[layer];
        }
        if (state != instance.states[p]) {
            instance.states[p] = state;
            if (gains.sectionSeconds && description.barSeconds > 0.0f && instance.voice) {
                device_.JumpTo(instance.voice, *gains.sectionSeconds, description.barSeconds);
            }
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

WorldPlacement SoundEventLayer::Placement(const Instance& instance) const {
    if (!instance.event->description.world || !instance.placed) {
        return {};
    }
    return PlaceInWorld({instance.attributes.position.x, instance.attributes.position.y},
                        listener_);
}

float SoundEventLayer::VoiceGain(const Instance& instance) const {
    const float volume =
        instance.event->description.path.starts_with("Music/") ? musicVolume_ : effectsVolume_;
    return instance.event->description.volume * volume * instance.fade * Placement(instance).gain;
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
    if (!instance->paused) {
        instance->fadeTarget = 1.0f;
    }
    std::vector<platform::VoiceLayer> layers;
    for (std::size_t i = 0; i < event.sounds.size(); ++i) {
        layers.push_back({event.sounds[i], instance->layerGains[i]});
    }
    std::optional<float> pan;
    if (event.description.world) {
        pan = Placement(*instance).pan;
    }
    instance->voice = device_.Play(layers, !event.description.oneShot, VoiceGain(*instance), pan);
    if (instance->paused) {
        device_.SetPaused(instance->voice, true);
    }
    // A music that starts in a state of its own starts in that state's section.
    for (std::size_t p = 0; p < event.description.parameters.size(); ++p) {
        const ParameterState& state = event.description.parameters[p].states[instance->states[p]];
        if (state.sectionSeconds && *state.sectionSeconds > 0.0f &&
            event.description.barSeconds > 0.0f) {
            device_.JumpTo(instance->voice, *state.sectionSeconds, event.description.barSeconds);
        }
    }
}

void SoundEventLayer::FadeTo(Instance& instance, float target, AfterFade after) {
    if (target > 0.0f) {
        instance.rewindWhenSilent = false;  // heard again before the silence came
    }
    instance.fadeTarget = target;
    instance.afterFade = after;
}

void SoundEventLayer::Restart(EventInstanceId id) {
    Instance* instance = Find(id);
    if (!instance) {
        return;
    }
    const bool heard =
        instance->voice && device_.IsPlaying(instance->voice) && instance->fade > 0.0f;
    if (!heard || instance->event->description.fadeSeconds <= 0.0f) {
        Start(id);
        return;
    }
    // Going out already (a pause or a stop), it goes back once silent; playing, it goes out, back
    // and in again.
    instance->rewindWhenSilent = true;
    if (instance->afterFade == AfterFade::Nothing) {
        FadeTo(*instance, 0.0f, AfterFade::Restart);
    }
}

void SoundEventLayer::Stop(EventInstanceId id) {
    Instance* instance = Find(id);
    if (!instance) {
        return;
    }
    if (!instance->voice || instance->fade <= 0.0f) {
        StopNow(id);
        return;
    }
    FadeTo(*instance, 0.0f, AfterFade::Stop);
}

void SoundEventLayer::StopNow(EventInstanceId id) {
    Instance* instance = Find(id);
    if (!instance) {
        return;
    }
    device_.Stop(instance->voice);
    instance->voice = 0;
    instance->afterFade = AfterFade::Nothing;
    if (instance->released) {
        instances_.erase(id);
    }
}

bool SoundEventLayer::CancelStop(EventInstanceId id) {
    Instance* instance = Find(id);
    if (!instance || instance->afterFade != AfterFade::Stop || !instance->voice) {
        return false;
    }
    instance->released = false;
    FadeTo(*instance, instance->paused ? 0.0f : 1.0f,
           instance->paused ? AfterFade::Pause : AfterFade::Nothing);
    return true;
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
    Instance* instance = Find(id);
    if (!instance) {
        return;
    }
    instance->paused = paused;
    if (instance->afterFade == AfterFade::Stop) {
        return;  // on its way out either way
    }
    if (paused) {
        FadeTo(*instance, 0.0f, AfterFade::Pause);
    } else {
        device_.SetPaused(instance->voice, false);
        FadeTo(*instance, 1.0f, AfterFade::Nothing);
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
        instance->placed = true;
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

bool SoundEventLayer::AdvanceFade(EventInstanceId id, Instance& instance, float dt) {
    if (instance.fade > 0.0f || instance.fadeTarget > 0.0f) {
        const float seconds = instance.event->description.fadeSeconds;
        const float step = seconds > 0.0f ? dt / seconds : 1.0f;
        instance.fade = instance.fade < instance.fadeTarget
                            ? std::min(instance.fadeTarget, instance.fade + step)
                            : std::max(instance.fadeTarget, instance.fade - step);
        return true;
    }
    // Silent for a whole frame, the device's own ramp to the last gain included: what waited
    // for the silence happens.
    if (instance.rewindWhenSilent && instance.afterFade != AfterFade::Stop) {
        instance.rewindWhenSilent = false;
        device_.Rewind(instance.voice);
    }
    if (instance.afterFade == AfterFade::Pause) {
        device_.SetPaused(instance.voice, true);
    } else if (instance.afterFade == AfterFade::Restart) {
        FadeTo(instance, instance.paused ? 0.0f : 1.0f, AfterFade::Nothing);
        return true;
    } else if (instance.afterFade == AfterFade::Stop) {
        const bool released = instance.released;
        StopNow(id);
        return !released;
    }
    instance.afterFade = AfterFade::Nothing;
    return true;
}

void SoundEventLayer::Update(double dt) {
    const float seconds = static_cast<float>(dt);
    for (auto it = instances_.begin(); it != instances_.end();) {
        const EventInstanceId id = it->first;
        Instance& instance = it->second;
        ++it;  // the instance may go below
        if (instance.released && instance.afterFade != AfterFade::Stop &&
            !device_.IsPlaying(instance.voice)) {
            device_.Stop(instance.voice);
            instances_.erase(id);
            continue;
        }
        if (!AdvanceFade(id, instance, seconds)) {
            continue;
        }
        // Every layer moves at the pace of the slowest fade the event's parameters ask for.
        float fadeSeconds = 0.0f;
        for (const EventParameter& parameter : instance.event->description.parameters) {
            fadeSeconds = std::max(fadeSeconds, parameter.fadeSeconds);
        }
        const float step = fadeSeconds > 0.0f ? seconds / fadeSeconds : 1.0f;
        for (std::size_t layer = 0; layer < instance.layerGains.size(); ++layer) {
            float& gain = instance.layerGains[layer];
            const float target = instance.targetGains[layer];
            if (gain != target) {
                gain =
                    gain < target ? std::min(target, gain + step) : std::max(target, gain - step);
                device_.SetLayerGain(instance.voice, layer, gain);
            }
        }
        if (instance.voice) {
            device_.SetGain(instance.voice, VoiceGain(instance));
            if (instance.event->description.world) {
                device_.SetPan(instance.voice, Placement(instance).pan);
            }
        }
    }
    device_.Update(dt);
}

platform::VoiceId SoundEventLayer::VoiceOf(EventInstanceId id) const {
    const Instance* instance = Find(id);
    return instance ? instance->voice : 0;
}

float SoundEventLayer::GainOf(EventInstanceId id) const {
    const Instance* instance = Find(id);
    return instance ? instance->fade * Placement(*instance).gain : 0.0f;
}
