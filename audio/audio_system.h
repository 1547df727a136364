// AudioSystem: plays the sound events that gameplay, menus and the core ask for by message
// (PlaySound, StopSound, PauseSound, AttachSound, SetEventParameter, the pause, mute and restart
// signals), on the sound event layer over the platform's audio device. Nobody calls it directly,
// so every request takes effect in the frame after it was sent.
//
// Rules a sender can count on:
// - a one-shot event plays every time it is asked for and cannot be stopped, paused or moved;
// - a looping event has at most one live instance per name: asking again while it lives does
//   nothing; it starts with its "StateChange" parameter at 0.2;
// - while either mute switch is on, pause toggling, restarts and device-loss toggling change
//   nothing; while the second is on, no new sound starts;
// - each level load steps the in-game music's "StateChange" through 0.2, 0.3, ... 0.6, 0, 0.1.
// A machine without a sound card gets a silent device; only a sound event layer that cannot be
// created at all ends the process ("FMOD error! (<code>) <text>" on standard output, exit -1).
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "audio/sound_event_layer.h"
#include "core/system.h"

namespace platform {
class AudioDevice;
}

class AudioSystem : public System {
public:
    // Creates the event layer and loads the bank "SoundBank" with its sounds from "Sounds/" in
    // the assets folder.
    explicit AudioSystem(platform::AudioDevice& device);
    ~AudioSystem() override;

    void Initialize() override;
    void Update() override;
    void Shutdown() override;
    void HandleMessages() override;

    platform::AudioDevice& Device() { return device_; }
    SoundEventLayer& Layer() { return *studio_; }
    // The live looping instances by event name.
    const std::unordered_map<std::string, EventInstanceId>& Events() const { return events_; }
    bool IsMuted() const { return muteSwitch1 || muteSwitch2; }

    int lastResult = 0;
    bool muteSwitch1 = false;
    bool muteSwitch2 = false;
    bool paused = false;

private:
    void Play(const std::string& name);
    void Stop(const std::string& name);
    void ApplyMute();
    void FlipPausedOfAll();
    void ToggleDeviceLost();
    void StepMusic();
    EventInstanceId Live(const std::string& name) const;

    platform::AudioDevice& device_;
    std::unique_ptr<SoundEventLayer> studio_;
    std::unordered_map<std::string, EventInstanceId> events_;
    std::vector<EventInstanceId> remembered_;
};

// Prints the layer failure line for `code` and ends the process with exit code -1.
[[noreturn]] void ExitOnAudioFailure(int code);
