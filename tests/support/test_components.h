// Component classes that exist only in tests, registered like the game's own.
#pragma once

#include <functional>
#include <string>

#include "core/vector.h"
#include "meta/meta_registration.h"

// A game-logic component that counts its updates and runs an optional action on each.
class ProbeComponent : public ComponentOf<ProbeComponent, GameLogicComponent> {
public:
    void Update() override {
        ++updates;
        if (onUpdate) {
            onUpdate(*this);
        }
    }
    void OnDestroy() override { ++destroyCalls; }

    int updates = 0;
    int destroyCalls = 0;
    std::function<void(ProbeComponent&)> onUpdate;
    int level = 3;
};

// Text and vector members, the way button and puzzle components carry them.
class LabelComponent : public ComponentOf<LabelComponent, GUIComponent> {
public:
    std::string texture = "button";
    std::string hovertexture = "button_hover";
    Vector2D offset{1.0f, 2.0f};
    int count = 0;
    bool enabled = true;
    float weight = 0.5f;
    // Not registered: never copied.
    int scratch = 0;
};

// No registered members at all.
class EmptyComponent : public ComponentOf<EmptyComponent, GameLogicComponent> {};
