#include "audio/audio_system.h"

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "graphics/camera.h"
#include "meta/assets.h"
#include "meta/settings.h"
#include "objects/object.h"

namespace {
const std::string kInGameMusic = "Music/In_Game_Music_01";
const std::string kMenuMusic = "Music/Start_Menu_Music";
const std::string kStateChange = "StateChange";
constexpr float kFirstState = 0.2f;
// A loop asked to stop plays on this long first: a piece that stops and starts it again within
// it (the light form bobbing at the top of a fan) keeps one steady sound instead of a stutter.
constexpr double kLoopHoldSeconds = 0.5;
}  // namespace

AudioSystem::AudioSystem(platform::AudioDevice& device) : device_(device) {
    FileReactions();
    Initialize();
}

AudioSystem::~AudioSystem() = default;

void AudioSystem::Initialize() {
    // Made on the device this system is built on, so always made; a machine without sound has
    // the silent device.
    studio_ = SoundEventLayer::Create(&device_);
    studio_->LoadBank(Assets::ReadPathOf("SoundBank", "the sound bank"),
                      Assets::ReadPathOf("Sounds", "the folder of sounds"));
}

void AudioSystem::Update() {
    HandleMessages();
    if (const Camera* camera = MainCamera()) {
        studio_->SetListener(camera->GetPosition());
    }
    const Settings& settings = SettingsKeeper::Current();
    studio_->SetVolumes(static_cast<float>(settings.musicVolume) / Settings::kFullVolume,
                        static_cast<float>(settings.effectsVolume) / Settings::kFullVolume);
    std::erase_if(fading_, [this](const auto& entry) { return !studio_->IsValid(entry.second); });
    ReleaseHeld(FrameRateController::GetDT());
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
    held_.clear();
}

EventInstanceId AudioSystem::Live(const std::string& name) const {
    auto it = events_.find(name);
    return it != events_.end() && studio_->IsValid(it->second) ? it->second : 0;
}

void AudioSystem::FileReactions() {
    reactions_
        .On<PlaySoundMessage>(
            [this](const PlaySoundMessage& play) { Play(play.event, play.position); })
        .On<StopSoundMessage>([this](const StopSoundMessage& stop) { Hold(stop.event); })
        .On<PauseSoundMessage>([this](const PauseSoundMessage& pause) {
            if (EventInstanceId id = Live(pause.event)) {
                studio_->SetPaused(id, true);
            }
        })
        .On<AttachSoundMessage>([this](const AttachSoundMessage& attach) {
            EventInstanceId id = Live(attach.event);
            if (id && attach.source) {
                const Transform2D& transform = attach.source->GetTransform();
                Place(id, {transform.GetPosition().x, transform.GetPosition().y,
                           transform.GetZLayer()});
            }
        })
        .On<SetEventParameterMessage>([this](const SetEventParameterMessage& set) {
            if (auto it = events_.find(set.event); it != events_.end()) {
                studio_->SetParameter(it->second, set.parameter, set.value);
            }
        })
        .On({MessageType::TogglePause},
            [this] {
                StopWorldLoops();
                paused = true;
                FlipPausedOfAll();
            })
        .On({MessageType::ClearLevel, MessageType::EnterLevelEditor,
             MessageType::EnterArchetypeEditor},
            [this] { StopWorldLoops(); })
        .On({MessageType::Resume},
            [this] {
                worldStill_ = false;
                paused = false;
                FlipPausedOfAll();
            })
        .On({MessageType::ToggleMute1}, [this] { SetMuteSwitch(1, !muteSwitch1); })
        .On({MessageType::ToggleMute2}, [this] { SetMuteSwitch(2, !muteSwitch2); })
        .On({MessageType::RestartSounds},
            [this] {
                if (!IsMuted()) {
                    for (const auto& [name, instance] : events_) {
                        studio_->Restart(instance);
                    }
                }
            })
        .On({MessageType::DeviceLostToggle}, [this] { ToggleDeviceLost(); })
        .On({MessageType::LevelObjectsLoaded}, [this] {
            worldStill_ = false;
            StepMusic();
        });
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
        held_.erase(name);
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

void AudioSystem::Hold(const std::string& name) {
    if (events_.contains(name)) {
        held_.try_emplace(name, kLoopHoldSeconds);
    }
}

void AudioSystem::ReleaseHeld(double dt) {
    std::vector<std::string> due;
    for (auto& [name, seconds] : held_) {
        seconds -= dt;
        if (seconds <= 0.0) {
            due.push_back(name);
        }
    }
    for (const std::string& name : due) {
        Stop(name);
    }
}

void AudioSystem::Stop(const std::string& name) {
    held_.erase(name);
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
