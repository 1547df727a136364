// Component classes that exist only in tests, registered like the game's own.
#pragma once

#include <functional>
#include <string>

#include "core/vector.h"
#include "objects/component_registration.h"

// No registered members at all.
class EmptyComponent : public ComponentOf<EmptyComponent, GameLogicComponent> {};

// One member of every kind the data files know (text, real, whole, switch, vector), the way button
// and puzzle components carry them, and one ("cache") with no text form.
class TestSign : public ComponentOf<TestSign, GraphicsComponent> {
public:
    std::string caption = "none";
    float speed = 1.5f;
    int count = 7;
    bool lit = false;
    Vector2D offset{1.0f, 2.0f};
    // Listed under "cache" with an unnamed type: it has no text form.
    double cache = 0.0;
    // Not registered: never copied.
    int scratch = 0;
};

// The probe of the tests: a game-logic component with a data-file member ("step") that counts its
// updates and destructions and runs an optional action on each update.
class TestCounter : public ComponentOf<TestCounter, GameLogicComponent> {
public:
    void Update() override {
        ++updates;
        if (onUpdate) {
            onUpdate(*this);
        }
    }
    void OnDestroy() override { ++destroyCalls; }

    int step = 1;
    int updates = 0;
    int destroyCalls = 0;
    std::function<void(TestCounter&)> onUpdate;
};

// A TestCounter answering to the name "ParticleEmitterComponent", which the game-logic system
// keeps running in the editor. Not in the component factory, so it cannot clash with the real
// emitter.
class TestEmitter : public TestCounter {
public:
    std::string GetName() const override { return "ParticleEmitterComponent"; }
};
