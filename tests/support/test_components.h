// Component classes that exist only in the tests, registered like the game's own: "TestSign"
// carries one member of every kind the data files know (and one with no text form), "TestCounter"
// is a game-logic component that counts its updates.
#pragma once

#include <functional>
#include <string>

#include "core/vector.h"
#include "meta/meta_registration.h"

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

// Registered under "TestCounter" like a game-logic component but answering to the name
// "ParticleEmitterComponent", which the game-logic system keeps running in the editor. Not in the
// component factory, so it cannot clash with the real emitter.
class TestEmitter : public TestCounter {
public:
    std::string GetName() const override { return "ParticleEmitterComponent"; }
};
