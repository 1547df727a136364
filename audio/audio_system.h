// AudioSystem: plays the sound events that gameplay, menus and the core ask for by message
// (PlaySound, StopSound, PauseSound, AttachSound, SetEventParameter, the pause, mute and restart
// signals), on the sound event layer over the platform's audio device. Nobody calls it directly,
// so every request takes effect in the frame after it was sent.
//
// Rules a sender can count on:
// - a one-shot event plays every time it is asked for and cannot be stopped or paused; a world
//   one-shot asked for with a position is heard from there;
// - a looping event has at most one live instance per name: asking again while it lives only
//   moves it to the position given, if any; it starts with its "StateChange" parameter at 0.2;
// - a loop of the world (a fan's wind) belongs to the level as it is now: a level change, a
//   restart, the pause menu or the editor stops it, and it plays again only when its piece asks
//   again, which a fan does every frame the player is in its wind;
// - stops, pauses and mutes fade out and unpausing fades in (each event's own fade time), so none
//   clicks; a loop asked for again while it fades out after a stop comes back instead of
//   starting over; a restart (a menu button's hover) fades out, goes back to the beginning and
//   fades in;
// - a loop a piece stops (StopSound) plays on for half a second before it fades, and asked for
//   again meanwhile it simply goes on: a stop and a start that close are one steady sound; the
//   world's own stops (level change, pause menu, editor) take effect at once;
// - while either mute switch is on, pause toggling, restarts and device-loss toggling change
//   nothing; while the second is on, no new sound starts;
// - each level load steps the in-game music's "StateChange" through 0.2, 0.3, ... 0.6, 0, 0.1.
// A machine without a sound card gets a silent device; only a sound event layer that cannot be
// created at all ends the process ("FMOD error! (<code>) <text>" on standard output, exit -1).
#pragma once

#include <memory>
#include <optional>
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

    void Update() override;
    void Shutdown() override;

    platform::AudioDevice& Device() { return device_; }
    SoundEventLayer& Layer() { return *studio_; }
    // The live looping instances by event name.
    const std::unordered_map<std::string, EventInstanceId>& Events() const { return events_; }
    bool IsMuted() const { return muteSwitch1 || muteSwitch2; }
    // Sets mute switch 1 or 2 and lets what it silences fade out or back in.
    void SetMuteSwitch(int which, bool on);

    bool muteSwitch1 = false;
    bool muteSwitch2 = false;
    bool paused = false;

private:
    void Initialize();
    void FileReactions();
    void Play(const std::string& name, const std::optional<Vector2D>& position);
    void Stop(const std::string& name);
    // A piece's stop: the loop plays on for a moment and stops only if nobody asks for it again.
    void Hold(const std::string& name);
    // Stops the held loops whose moment has passed, `dt` seconds on.
    void ReleaseHeld(double dt);
    void StopWorldLoops();
    void Place(EventInstanceId id, const Vector3D& position);
    void ApplyMute();
    void FlipPausedOfAll();
    void ToggleDeviceLost();
    void StepMusic();
    EventInstanceId Live(const std::string& name) const;

    platform::AudioDevice& device_;
    std::unique_ptr<SoundEventLayer> studio_;
    std::unordered_map<std::string, EventInstanceId> events_;
    // Set while the world stands still (pause menu, editor, between levels): its loops wait.
    bool worldStill_ = false;
    // Loops stopped and still fading out, by name, which a new request brings back.
    std::unordered_map<std::string, EventInstanceId> fading_;
    std::vector<EventInstanceId> remembered_;
    // Loops a piece asked to stop, still sounding, by name: the seconds left before they stop.
    std::unordered_map<std::string, double> held_;
};
