#include "graphics/particle_emitter_component.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/frame_rate_controller.h"
#include "graphics/colored_square_component.h"
#include "objects/level_objects.h"
#include "support/engine_test.h"

namespace {

class ParticleEmitterTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        std::srand(7);
        owner_ = MakeLevelObject("Emitter");
        emitter_ = new ParticleEmitterComponent;
        owner_->AddComponent("ParticleEmitterComponent", emitter_);
        emitter_->active = true;
        // Particles outlive a test unless it says otherwise.
        emitter_->minLifetime = emitter_->maxLifetime = 10.0f;
        FrameRateController::UseStep(0.1);
    }
    int AliveCount() {
        int alive = 0;
        for (int i = 0; i < ParticleEmitterComponent::kPoolSize; ++i) {
            alive += emitter_->GetParticle(i).alive ? 1 : 0;
        }
        return alive;
    }

    Object* owner_ = nullptr;
    ParticleEmitterComponent* emitter_ = nullptr;
};

TEST_F(ParticleEmitterTest, PoolIsBuiltParkedOnTheFirstNearUpdateAndLetGoWithItsOwner) {
    emitter_->active = false;
    owner_->GetTransform().SetPosition({0.0f, 901.0f});
    emitter_->Update();
    EXPECT_FALSE(emitter_->PoolReady()) << "never while far";
    owner_->GetTransform().SetPosition({0.0f, 0.0f});
    emitter_->Update();
    ASSERT_TRUE(emitter_->PoolReady());
    for (int i = 0; i < ParticleEmitterComponent::kPoolSize; ++i) {
        Particle& particle = emitter_->GetParticle(i);
        EXPECT_FALSE(particle.alive);
        EXPECT_FALSE(particle.IsVisible());
        EXPECT_EQ(particle.GetTransform().GetPosition(), Vector2D(-100000.0f, -100000.0f));
        ASSERT_NE(emitter_->SquareOf(i), nullptr);
        EXPECT_EQ(emitter_->SquareOf(i)->alphaTint, 1.0f);
    }
    // Particles are not level objects.
    EXPECT_EQ(LevelObjects().size(), 1u);
    // Destroying the owner detaches every square.
    ColoredSquareComponent* square = emitter_->SquareOf(0);
    owner_->Destroy();
    for (int i = 0; i < ParticleEmitterComponent::kPoolSize; ++i) {
        EXPECT_TRUE(emitter_->GetParticle(i).GetComponents().Empty());
    }
    EXPECT_EQ(square->GetOwner(), nullptr);
}

TEST_F(ParticleEmitterTest, SpawnRateAndCapLimitEachUpdate) {
    emitter_->particleSpawnRate = 3;
    emitter_->maxParticles = 5;
    emitter_->Update();
    EXPECT_EQ(emitter_->LiveCount(), 3);
    EXPECT_EQ(AliveCount(), 3);
    emitter_->Update();
    EXPECT_EQ(emitter_->LiveCount(), 5);
    EXPECT_EQ(AliveCount(), 5);
    emitter_->Update();
    EXPECT_EQ(AliveCount(), 5);
}

// An inactive emitter spawns nothing, but what it spawned moves on until the update in which its
// age passes its lifetime, which parks it far away, invisible.
TEST_F(ParticleEmitterTest, LiveParticlesOfAnInactiveEmitterCarryOnUntilTheirLifetimePasses) {
    emitter_->minLifetime = emitter_->maxLifetime = 0.5f;
    emitter_->minVelocity = emitter_->maxVelocity = {2.0f, 0.0f};
    FrameRateController::UseStep(0.2);
    emitter_->Update();
    emitter_->active = false;
    Particle& particle = emitter_->GetParticle(0);
    EXPECT_TRUE(particle.IsVisible());
    emitter_->Update();
    EXPECT_TRUE(particle.alive);
    EXPECT_EQ(AliveCount(), 1);
    EXPECT_EQ(particle.GetTransform().GetPosition().x, 4.0f);
    emitter_->Update();
    EXPECT_EQ(AliveCount(), 0);
    EXPECT_FALSE(particle.IsVisible());
    EXPECT_EQ(particle.GetTransform().GetPosition(), Vector2D(-100000.0f, -100000.0f));
    EXPECT_EQ(emitter_->LiveCount(), 0);
}

TEST_F(ParticleEmitterTest, ColoursInterpolateAndAlphaFades) {
    emitter_->startR = 1.0f;
    emitter_->endR = 0.0f;
    emitter_->startG = 0.0f;
    emitter_->endG = 1.0f;
    emitter_->fadeAlpha = true;
    // With no lifetime a particle shows its end colours (its life counts as spent rather than
    // 0 / 0) and dies in its first update.
    emitter_->minLifetime = emitter_->maxLifetime = 0.0f;
    emitter_->Update();
    EXPECT_FLOAT_EQ(emitter_->SquareOf(0)->redTint, 0.0f);
    EXPECT_FALSE(emitter_->GetParticle(0).alive);
    EXPECT_EQ(emitter_->LiveCount(), 0);
    emitter_->minLifetime = emitter_->maxLifetime = 1.0f;
    FrameRateController::UseStep(0.5);
    emitter_->Update();
    emitter_->active = false;
    ColoredSquareComponent* square = emitter_->SquareOf(0);
    // First update: t = 0.
    EXPECT_FLOAT_EQ(square->redTint, 1.0f);
    EXPECT_FLOAT_EQ(square->alphaTint, 1.0f);
    emitter_->Update();
    // Half its life: t = 0.5.
    EXPECT_FLOAT_EQ(square->redTint, 0.5f);
    EXPECT_FLOAT_EQ(square->greenTint, 0.5f);
    EXPECT_FLOAT_EQ(square->alphaTint, 0.5f);
}

TEST_F(ParticleEmitterTest, RandomColoursStayAsSpawnedWithinTheirRanges) {
    emitter_->randomizeColors = true;
    emitter_->startR = 0.2f;
    emitter_->endR = 0.4f;
    emitter_->particleSpawnRate = 20;
    emitter_->Update();
    for (int i = 0; i < 20; ++i) {
        const float red = emitter_->SquareOf(i)->redTint;
        EXPECT_GE(red, 0.2f);
        EXPECT_LE(red, 0.4f);
    }
    const float before = emitter_->SquareOf(0)->redTint;
    emitter_->Update();
    EXPECT_EQ(emitter_->SquareOf(0)->redTint, before);
}

TEST_F(ParticleEmitterTest, MotionSpinDepthAndSpawnPlacement) {
    owner_->GetTransform().SetPosition({100.0f, 50.0f});
    emitter_->minOffset = emitter_->maxOffset = {10.0f, -10.0f};
    emitter_->minScale = emitter_->maxScale = {3.0f, 4.0f};
    emitter_->minVelocity = emitter_->maxVelocity = {1.0f, 2.0f};
    emitter_->gravityVector = {0.0f, -60.0f};
    emitter_->rotationSpeed = 0.1f;
    FrameRateController::UseStep(0.5);
    emitter_->Update();
    Particle& particle = emitter_->GetParticle(0);
    // Spawned at owner + offset, then moved once: velocity (1, 2 - 30) per update, unscaled.
    EXPECT_EQ(particle.velocity, Vector2D(1.0f, -28.0f));
    EXPECT_EQ(particle.GetTransform().GetPosition(), Vector2D(111.0f, 12.0f));
    EXPECT_EQ(particle.GetTransform().GetScale(), Vector2D(3.0f, 4.0f));
    EXPECT_EQ(particle.GetTransform().GetZLayer(), 2.0f);
    // 0.1 rad is 5.7 degrees: stored as 6. A slow spin is lost to the whole degrees every update.
    EXPECT_EQ(particle.GetTransform().GetRotationDegrees(), 6);
    emitter_->rotationSpeed = 0.008f;
    FrameRateController::UseStep(0.1);
    for (int i = 0; i < 50; ++i) {
        emitter_->Update();
    }
    EXPECT_EQ(particle.GetTransform().GetRotationDegrees(), 6);
}

TEST_F(ParticleEmitterTest, FarEmitterSpawnsNothingButAdvancesItsParticles) {
    emitter_->minVelocity = emitter_->maxVelocity = {0.0f, 1.0f};
    emitter_->Update();
    ASSERT_EQ(AliveCount(), 1);
    Particle& particle = emitter_->GetParticle(0);
    particle.GetTransform().SetZLayer(9.0f);
    owner_->GetTransform().SetPosition({1601.0f, 0.0f});
    const float y = particle.GetTransform().GetPosition().y;
    emitter_->Update();
    EXPECT_EQ(AliveCount(), 1);
    EXPECT_EQ(particle.GetTransform().GetPosition().y, y + 1.0f);
    // Depth is assigned only while near.
    EXPECT_EQ(particle.GetTransform().GetZLayer(), 9.0f);
    // 1600 exactly is still near.
    owner_->GetTransform().SetPosition({1600.0f, -900.0f});
    emitter_->Update();
    EXPECT_EQ(AliveCount(), 2);
}

}  // namespace
