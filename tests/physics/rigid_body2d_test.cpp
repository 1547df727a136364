#include "physics/rigid_body2d.h"

#include <gtest/gtest.h>

#include <cmath>

#include "objects/object.h"
#include "support/headless_engine.h"

namespace {

class RigidBodyStep : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ResetEngineState();
        body = new RigidBody2D;
        body->mass = 1.0f;
        body->gravity = 600.0f;
        body->state = RigidBody2D::kDynamic;
        object.AddComponent("RigidBody2D", body);
    }
    void TearDown() override { testing_support::ResetEngineState(); }

    Object object;
    RigidBody2D* body = nullptr;
};

TEST_F(RigidBodyStep, AHeavilyDampedBodyAtRestRisesSlightlyOnItsFirstStep) {
    body->Integrate(1.0 / 60.0);
    EXPECT_NEAR(body->GetVelocity().x, 0.0f, 1e-6f);
    EXPECT_NEAR(body->GetVelocity().y, -4.0f, 1e-4f);
    EXPECT_NEAR(object.GetTransform().GetPosition().y, 0.01667f, 1e-5f);
}

TEST_F(RigidBodyStep, HigherFrictionDampsLess) {
    body->friction = 1000;
    body->Integrate(1.0 / 60.0);
    EXPECT_NEAR(body->GetVelocity().y, -9.4f, 1e-4f);
    EXPECT_NEAR(object.GetTransform().GetPosition().y, -0.07333f, 1e-5f);
}

TEST_F(RigidBodyStep, NoFrictionMakesDampingAddSpeedOrFlipTheVelocity) {
    // Below the frame rate the written damping overshoots zero; below half of it the box of
    // friction 10 reached 1e19 and then NaN within a second.
    for (const int friction : {-5, 1, 10, 29, 45, 59, 60}) {
        SCOPED_TRACE(friction);
        body->friction = friction;
        body->SetVelocity({300.0f, 0.0f});
        object.GetTransform().SetPosition({});
        float lastSpeedX = 300.0f;
        for (int frame = 0; frame < 120; ++frame) {
            body->Integrate(1.0 / 60.0);
            const Vector2D v = body->GetVelocity();
            ASSERT_GE(v.x, 0.0f) << "frame " << frame;
            ASSERT_LE(v.x, lastSpeedX) << "frame " << frame;
            ASSERT_LE(std::fabs(v.y), 10.0f) << "frame " << frame;  // gravity adds 10 a step
            lastSpeedX = v.x;
        }
        EXPECT_LT(std::fabs(object.GetTransform().GetPosition().x), 10.0f);
    }
}

TEST_F(RigidBodyStep, ALongFrameIsIntegratedAsAFiftiethOfASecond) {
    auto* reference = new RigidBody2D;
    reference->mass = 1.0f;
    reference->gravity = 600.0f;
    reference->state = RigidBody2D::kDynamic;
    Object other;
    other.AddComponent("RigidBody2D", reference);
    body->Integrate(0.2);
    reference->Integrate(0.05);
    EXPECT_EQ(body->GetVelocity(), reference->GetVelocity());
    EXPECT_EQ(object.GetTransform().GetPosition(), other.GetTransform().GetPosition());
}

TEST_F(RigidBodyStep, ForceIsDividedByMassAndClearedByTheStep) {
    body->gravity = 0.0f;
    body->mass = 2.0f;
    body->friction = 1000000;  // practically undamped
    body->AddForce({120.0f, 0.0f});
    body->Integrate(0.05);
    EXPECT_NEAR(body->GetVelocity().x, 3.0f, 1e-3f);
    EXPECT_EQ(body->GetForce(), Vector2D(0.0f, 0.0f));
    body->Integrate(0.05);
    EXPECT_NEAR(body->GetVelocity().x, 3.0f, 1e-3f) << "no force left from the last step";
}

TEST_F(RigidBodyStep, AStaticBodyNeverMovesItself) {
    body->state = 0;
    body->SetVelocity({100.0f, 100.0f});
    body->Integrate(1.0 / 60.0);
    EXPECT_EQ(object.GetTransform().GetPosition(), Vector2D(0.0f, 0.0f));
}

TEST_F(RigidBodyStep, AFrameWithoutLengthMovesNothingInsteadOfProducingNaN) {
    body->SetVelocity({10.0f, 0.0f});
    body->Integrate(0.0);
    EXPECT_EQ(body->GetVelocity(), Vector2D(10.0f, 0.0f));
    EXPECT_EQ(object.GetTransform().GetPosition(), Vector2D(0.0f, 0.0f));
}

TEST(RigidBody2D, ImpulsesDivideByMassAndAMasslessBodyIgnoresThem) {
    RigidBody2D body;
    body.ApplyImpulse({10.0f, 0.0f});
    EXPECT_EQ(body.GetVelocity(), Vector2D(0.0f, 0.0f));
    body.mass = 4.0f;
    body.ApplyImpulse({10.0f, -2.0f});
    EXPECT_EQ(body.GetVelocity(), Vector2D(2.5f, -0.5f));
}

TEST(RigidBody2D, PolarForcesPointAlongTheMirroredAngle) {
    RigidBody2D body;
    body.AddForcePolar(10.0f, 0.0f);
    EXPECT_NEAR(body.GetForce().x, -10.0f, 1e-5f);
    EXPECT_NEAR(body.GetForce().y, 0.0f, 1e-5f);
    body.mass = 1.0f;
    body.ApplyImpulsePolar(2.0f, kPi / 2.0f);
    EXPECT_NEAR(body.GetVelocity().x, 0.0f, 1e-5f);
    EXPECT_NEAR(body.GetVelocity().y, 2.0f, 1e-5f);
}

}  // namespace
