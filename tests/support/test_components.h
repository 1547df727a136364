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

// One member of every kind the data files know, and one ("cache") with no text form.
class TestSign : public ComponentOf<TestSign, GraphicsComponent> {
public:
    std::string caption = "none";
    float speed = 1.5f;
    int count = 7;
    bool lit = false;
    Vector2D offset{1.0f, 2.0f};
    // Listed under "cache" with an unnamed type: it has no text form.
    double cache = 0.0;
};

// A game-logic component with a data-file member ("step") that counts its updates.
class TestCounter : public ComponentOf<TestCounter, GameLogicComponent> {
public:
    void Update() override {
        ++updates;
        if (onUpdate) {
            onUpdate();
        }
    }
    int step = 1;
    int updates = 0;
    std::function<void()> onUpdate;
};

// A TestCounter answering to the name "ParticleEmitterComponent", which the game-logic system
// keeps running in the editor. Not in the component factory, so it cannot clash with the real
// emitter.
class TestEmitter : public TestCounter {
public:
    std::string GetName() const override { return "ParticleEmitterComponent"; }
};
