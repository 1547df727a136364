// ParticleEmitterComponent: a game-logic component that owns a fixed pool of 100 particles. Each
// particle is a full object outside LevelObjects carrying one "ColoredSquareComponent", so the
// renderer draws it as a tinted quad; physics never sees it. The game-logic system calls Update()
// once per frame: spawn around the owner while the owner is near the main camera, move, spin,
// fade and age the live particles, and park dead ones far off-screen, invisible.
//
// The pool is built the first time the emitter is near the camera. OnDestroy detaches the
// particles' squares so the renderer drops them before the pool's storage goes.
#pragma once

#include <array>

#include "core/random15.h"
#include "objects/component_registration.h"
#include "objects/object.h"

class ColoredSquareComponent;

struct Particle : Object {
    bool alive = false;
    float age = 0.0f;
    float lifetime = 0.0f;
    Vector2D velocity;
};

class ParticleEmitterComponent : public ComponentOf<ParticleEmitterComponent, GameLogicComponent> {
public:
    static constexpr int kPoolSize = 100;
    // Where parked particles wait.
    static constexpr float kParkedAt = -100000.0f;

    void Update() override;
    void OnDestroy() override;

    int LiveCount() const { return liveCount; }
    bool PoolReady() const { return poolInitialised; }
    Particle& GetParticle(int index) { return pool[static_cast<std::size_t>(index)]; }
    ColoredSquareComponent* SquareOf(int index) const;

    bool active = false;
    float minLifetime = 1.0f;
    float maxLifetime = 1.0f;
    float rotationSpeed = 0.0f;
    int maxParticles = 100;

private:
    int liveCount = 0;

public:
    int particleSpawnRate = 1;
    int emitterType = 0;
    Vector2D minScale{5.0f, 5.0f};
    Vector2D maxScale{5.0f, 5.0f};
    Vector2D minVelocity;
    Vector2D maxVelocity;
    Vector2D minOffset;
    Vector2D maxOffset;
    Vector2D gravityVector;
    bool randomizeColors = false;
    bool fadeAlpha = false;
    float startR = 1.0f;
    float startG = 1.0f;
    float startB = 1.0f;
    float startA = 1.0f;
    float endR = 1.0f;
    float endG = 1.0f;
    float endB = 1.0f;
    float endA = 1.0f;

private:
    void InitialisePool();
    void Spawn();
    void UpdateParticles(bool near, float dt);

    std::array<Particle, kPoolSize> pool;
    bool poolInitialised = false;
};
