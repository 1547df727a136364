// AudioSystem: plays the sound events that gameplay and menus ask for by message (PlaySound,
// StopSound, PauseSound, ...), on the platform's audio device. A machine without an audio device
// gets a silent one; the game never stops for want of sound.
#pragma once

#include "core/system.h"

namespace platform {
class AudioDevice;
}

class AudioSystem : public System {
public:
    explicit AudioSystem(platform::AudioDevice& device) : device_(device) { Initialize(); }
    void Update() override { HandleMessages(); }
    platform::AudioDevice& Device() { return device_; }

private:
    platform::AudioDevice& device_;
};
