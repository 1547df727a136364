// AudioComponent: ties one named sound event to its object. Every update it places the event at
// the object (AttachSound; only a live looping instance moves), and when "Playing" is non-zero it
// asks for the event once and sets "Playing" back to 0. Destroying the object stops the event.
#pragma once

#include <string>

#include "objects/component_registration.h"

class AudioComponent : public ComponentOf<AudioComponent, GameLogicComponent> {
public:
    void Update() override;
    void OnDestroy() override;

    // The event path without any prefix ("SFX/Player_Jump_01").
    std::string Event;
    int Playing = 0;
};
