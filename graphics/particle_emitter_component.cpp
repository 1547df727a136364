#include "graphics/particle_emitter_component.h"

#include <cmath>
#include <vector>

#include "core/frame_rate_controller.h"
#include "core/screen.h"
#include "graphics/camera.h"
#include "graphics/colored_square_component.h"

VORL_REGISTER_SAVED_COMPONENT(ParticleEmitterComponent) {
    VORL_MEMBERS(meta, active, minLifetime, maxLifetime, rotationSpeed, maxParticles,
                 particleSpawnRate, emitterType, minScale, maxScale, minOffset, maxOffset,
                 minVelocity, maxVelocity, gravityVector, randomizeColors, fadeAlpha, startR,
                 startG, startB, startA, endR, endG, endB, endA);
}

namespace {

// Vectors are drawn per component, and only when the range is not a single point.
Vector2D RandomVectorBetween(const Vector2D& a, const Vector2D& b) {
    if (a.x == b.x && a.y == b.y) {
        return a;
    }
    const float x = RandomBetween(a.x, b.x);
    return {x, RandomBetween(a.y, b.y)};
}

void Park(Particle& particle) {
    particle.alive = false;
    particle.GetTransform().SetPosition(
        {ParticleEmitterComponent::kParkedAt, ParticleEmitterComponent::kParkedAt});
    particle.SetVisible(false);
}

}  // namespace

ColoredSquareComponent* ParticleEmitterComponent::SquareOf(int index) const {
    return pool[static_cast<std::size_t>(index)].Get<ColoredSquareComponent>(
        "ColoredSquareComponent");
}

void ParticleEmitterComponent::Update() {
    HandleMessages();
    if (!owner) {
        return;
    }
    const float dt = static_cast<float>(FrameRateController::GetDT());
    bool near = false;
    if (const Camera* camera = MainCamera()) {
        const Vector2D p = owner->GetTransform().GetPosition();
        const Vector2D c = camera->GetPosition();
        near = std::fabs(p.x - c.x) <= Screen::kWidth && std::fabs(p.y - c.y) <= Screen::kHeight;
    }
    if (near) {
        if (!poolInitialised) {
            InitialisePool();
        }
        Spawn();
    }
    if (poolInitialised) {
        UpdateParticles(near, dt);
    }
}

void ParticleEmitterComponent::InitialisePool() {
    poolInitialised = true;
    for (Particle& particle : pool) {
        particle.alive = false;
        particle.AddComponent("ColoredSquareComponent", new ColoredSquareComponent);
        Park(particle);
    }
}

void ParticleEmitterComponent::Spawn() {
    int spawned = 0;
    std::size_t search = 0;
    while (liveCount < maxParticles) {
        if (spawned >= particleSpawnRate || !active || liveCount >= kPoolSize) {
            break;
        }
        while (search < pool.size() && pool[search].alive) {
            ++search;
        }
        if (search < pool.size()) {
            Particle& particle = pool[search];
            particle.alive = true;
            particle.age = 0.0f;
            particle.lifetime =
                minLifetime == maxLifetime
                    ? minLifetime
                    : static_cast<float>(Random15()) / (32767.0f / (maxLifetime - minLifetime)) +
                          minLifetime;
            particle.SetVisible(true);
            if (randomizeColors) {
                if (auto* square = particle.Get<ColoredSquareComponent>("ColoredSquareComponent")) {
                    square->redTint = RandomBetween(startR, endR);
                    square->greenTint = RandomBetween(startG, endG);
                    square->blueTint = RandomBetween(startB, endB);
                    square->alphaTint = RandomBetween(startA, endA);
                }
            }
            const Vector2D offset = RandomVectorBetween(minOffset, maxOffset);
            const Vector2D scale = RandomVectorBetween(minScale, maxScale);
            particle.velocity = RandomVectorBetween(minVelocity, maxVelocity);
            particle.GetTransform().SetPosition(owner->GetTransform().GetPosition() + offset);
            particle.GetTransform().SetScale(scale);
            ++search;
        }
        // Counted even when the pool had no free particle, so the loop always ends.
        ++liveCount;
        ++spawned;
    }
}

void ParticleEmitterComponent::UpdateParticles(bool near, float dt) {
    for (int i = 0; i < kPoolSize && i < maxParticles; ++i) {
        if (!near && liveCount <= 0) {
            break;
        }
        Particle& particle = pool[static_cast<std::size_t>(i)];
        if (!particle.alive) {
            continue;
        }
        // A zero lifetime counts as spent: 0 / 0 would tint the square with NaN.
        const float t = particle.lifetime > 0.0f ? particle.age / particle.lifetime : 1.0f;
        if (auto* square = particle.Get<ColoredSquareComponent>("ColoredSquareComponent")) {
            if (!randomizeColors) {
                square->redTint = std::fabs(endR * t + startR * (1.0f - t));
                square->greenTint = std::fabs(endG * t + startG * (1.0f - t));
                square->blueTint = std::fabs(endB * t + startB * (1.0f - t));
            }
            square->alphaTint = fadeAlpha ? 1.0f - t : std::fabs((1.0f - t) * startA + endA * t);
        }
        particle.velocity += gravityVector * dt;
        Transform2D& transform = particle.GetTransform();
        transform.SetPosition(transform.GetPosition() + particle.velocity);
        if (near) {
            transform.SetZLayer(2.0f);
        }
        transform.SetRotationRadians(transform.GetRotationRadians() + rotationSpeed);
        particle.age += dt;
        if (particle.age > particle.lifetime) {
            Park(particle);
            --liveCount;
        }
    }
}

void ParticleEmitterComponent::OnDestroy() {
    if (!poolInitialised) {
        return;
    }
    for (Particle& particle : pool) {
        std::vector<std::string> names;
        for (const auto& [name, component] : particle.GetComponents()) {
            names.push_back(name);
        }
        for (const std::string& name : names) {
            if (Component* component = particle.GetComponent(name)) {
                component->OnDestroy();
            }
            particle.RemoveComponent(name);
        }
    }
}
