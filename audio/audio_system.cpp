#include "audio/audio_system.h"

#include <cstdio>
#include <cstdlib>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "graphics/camera.h"
#include "meta/assets.h"
#include "objects/object.h"

namespace {
const std::string kInGameMusic = "Music/In_Game_Music_01";
const std::string kMenuMusic = "Music/Start_Menu_Music";
const std::string kStateChange = "StateChange";
constexpr float kFirstState = 0.2f;
}  // namespace

void ExitOnAudioFailure(int code) {
    std::printf("FMOD error! (%d) %s\n", code, AudioResultText(code));
    std::fflush(stdout);
    std::exit(-1);
}

AudioSystem::AudioSystem(platform::AudioDevice& device) : device_(device) {
    Initialize();
}

AudioSystem::~AudioSystem() = default;

void AudioSystem::Initialize() {
    AudioResult result = AudioResult::Ok;
    studio_ = SoundEventLayer::Create(&device_, result);
    lastResult = static_cast<int>(result);
    if (lastResult != 0) {
        ExitOnAudioFailure(lastResult);
    }
    studio_->LoadBank(Assets::PathOf("SoundBank"), Assets::PathOf("Sounds"));
}

void AudioSystem::Update() {
    HandleMessages();
    if (const Camera* camera = MainCamera()) {
        studio_->SetListener(camera->GetPosition());
    }
    std::erase_if(fading_, [this](const auto& entry) { return !studio_->IsValid(entry.second); });
    studio_->Update(FrameRateController::GetDT());
}

void AudioSystem::Shutdown() {
    for (auto* instances : {&events_, &fading_}) {
        for (const auto& [name, instance] : *instances) {
            studio_->Release(instance);
            studio_->StopNow(instance);
        }
        instances->clear();
    }
    remembered_.clear();
}

EventInstanceId AudioSystem::Live(const std::string& name) const {
    auto it = events_.find(name);
    return it != events_.end() && studio_->IsValid(it->second) ? it->second : 0;
}

void AudioSystem::HandleMessages() {
    for (const auto& message : MessagingSystem::GetMessages()) {
        switch (message->type) {
            case MessageType::PlaySound: {
                const auto& play = static_cast<const PlaySoundMessage&>(*message);
                Play(play.event, play.position);
                break;
            }
            case MessageType::StopSound:
                Stop(static_cast<const StopSoundMessage&>(*message).event);
                break;
            case MessageType::PauseSound:
                if (EventInstanceId id =
                        Live(static_cast<const PauseSoundMessage&>(*message).event)) {
                    studio_->SetPaused(id, true);
                }
                break;
            case MessageType::AttachSound: {
                const auto& attach = static_cast<const AttachSoundMessage&>(*message);
                EventInstanceId id = Live(attach.event);
                if (id && attach.source) {
                    const Transform2D& transform = attach.source->GetTransform();
                    Place(id, {transform.GetPosition().x, transform.GetPosition().y,
                               transform.GetZLayer()});
                }
                break;
            }
            case MessageType::SetEventParameter: {
                const auto& set = static_cast<const SetEventParameterMessage&>(*message);
                if (auto it = events_.find(set.event); it != events_.end()) {
                    studio_->SetParameter(it->second, set.parameter, set.value);
                }
                break;
            }
            case MessageType::TogglePause:
                StopWorldLoops();
                paused = true;
                FlipPausedOfAll();
                break;
            case MessageType::ClearLevel:
            case MessageType::EnterLevelEditor:
            case MessageType::EnterArchetypeEditor:
                StopWorldLoops();
                break;
            case MessageType::Resume:
                worldStill_ = false;
                paused = false;
                FlipPausedOfAll();
                break;
            case MessageType::ToggleMute1:
                SetMuteSwitch(1, !muteSwitch1);
                break;
            case MessageType::ToggleMute2:
                SetMuteSwitch(2, !muteSwitch2);
                break;
            case MessageType::RestartSounds:
                if (!IsMuted()) {
                    for (const auto& [name, instance] : events_) {
                        studio_->Start(instance);
                    }
                }
                break;
            case MessageType::DeviceLostToggle:
                ToggleDeviceLost();
                break;
            case MessageType::LevelObjectsLoaded:
                worldStill_ = false;
                StepMusic();
                break;
            default:
                break;
        }
    }
}

void AudioSystem::Place(EventInstanceId id, const Vector3D& position) {
    Attributes3D attributes;
    attributes.position = position;
    studio_->Set3DAttributes(id, attributes);
}

void AudioSystem::Play(const std::string& name, const std::optional<Vector2D>& position) {
    if (muteSwitch2) {
        return;
    }
    const EventDescription* event = studio_->FindEvent(name);
    if (!event) {
        return;
    }
    auto placeAt = [&](EventInstanceId id) {
        if (position) {
            Place(id, {position->x, position->y, 0.0f});
        }
    };
    if (event->oneShot) {
        const EventInstanceId instance = studio_->CreateInstance(*event);
        placeAt(instance);
        studio_->Start(instance);
        studio_->Release(instance);
        return;
    }
    if (event->world && worldStill_) {
        // A piece's request sent in the last frame before its world stopped: the world is still
        // until the next level runs or the game resumes.
        return;
    }
    if (auto live = events_.find(name); live != events_.end()) {
        placeAt(live->second);
        return;
    }
    if (auto stopping = fading_.find(name);
        stopping != fading_.end() && studio_->CancelStop(stopping->second)) {
        placeAt(stopping->second);
        events_.emplace(name, stopping->second);
        fading_.erase(stopping);
        return;
    }
    const EventInstanceId instance = studio_->CreateInstance(*event);
    placeAt(instance);
    studio_->Start(instance);
    events_.emplace(name, instance);
    MessagingSystem::Send<SetEventParameterMessage>(name, kStateChange, kFirstState);
}

void AudioSystem::Stop(const std::string& name) {
    auto it = events_.find(name);
    if (it == events_.end()) {
        return;
    }
    if (studio_->IsValid(it->second)) {
        studio_->Release(it->second);
        studio_->Stop(it->second);
        if (studio_->IsValid(it->second)) {
            fading_[name] = it->second;
        }
    }
    events_.erase(it);
}

void AudioSystem::StopWorldLoops() {
    worldStill_ = true;
    std::vector<std::string> world;
    for (const auto& [name, instance] : events_) {
        if (studio_->FindEvent(name)->world) {
            world.push_back(name);
        }
    }
    for (const std::string& name : world) {
        Stop(name);
    }
}

void AudioSystem::SetMuteSwitch(int which, bool on) {
    (which == 1 ? muteSwitch1 : muteSwitch2) = on;
    ApplyMute();
}

void AudioSystem::FlipPausedOfAll() {
    if (IsMuted()) {
        return;
    }
    for (const auto& [name, instance] : events_) {
        studio_->SetPaused(instance, !studio_->GetPaused(instance));
    }
}

void AudioSystem::ApplyMute() {
    if (IsMuted()) {
        for (const auto& [name, instance] : events_) {
            studio_->SetPaused(instance, true);
        }
        return;
    }
    // Unmuting brings back what the player should hear where they are: the menu music inside the
    // pause menu, every other live sound in the game. The other side stays paused, ready for the
    // flip of the next TogglePause or Resume.
    for (const auto& [name, instance] : events_) {
        if ((name == kMenuMusic) == paused) {
            studio_->SetPaused(instance, false);
        }
    }
}

void AudioSystem::ToggleDeviceLost() {
    if (IsMuted()) {
        return;
    }
    if (remembered_.empty()) {
        for (const auto& [name, instance] : events_) {
            if (!studio_->GetPaused(instance)) {
                studio_->SetPaused(instance, true);
                remembered_.push_back(instance);
            }
        }
    } else {
        for (EventInstanceId instance : remembered_) {
            studio_->SetPaused(instance, false);
        }
        remembered_.clear();
    }
}

void AudioSystem::StepMusic() {
    auto it = events_.find(kInGameMusic);
    float value = 0.0f;
    if (it == events_.end() || !studio_->GetParameter(it->second, kStateChange, value)) {
        return;
    }
    const float next = static_cast<double>(value) >= 0.6 ? 0.0f : value + 0.1f;
    MessagingSystem::Send<SetEventParameterMessage>(kInGameMusic, kStateChange, next);
}
