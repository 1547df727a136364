#include "physics/rigid_body2d.h"

#include <gtest/gtest.h>

#include <cmath>

#include "objects/object.h"
#include "support/engine_test.h"

namespace {

class RigidBodyStep : public testing_support::EngineTest {
protected:
    void SetUp() override {
        body->mass = 1.0f;
        body->gravity = 600.0f;
        body->state = RigidBody2D::kDynamic;
        object.AddComponent("RigidBody2D", body);
    }

    Object object;
    RigidBody2D* body = new RigidBody2D;
};

// One step of a body of mass 1 under gravity 600 from the origin.
TEST_F(RigidBodyStep, OneStepMovesAndDampsTheBody) {
    const struct {
        const char* name;
        int friction;
        int state;
        Vector2D velocity;
        double frameTime;
        Vector2D velocityAfter;
        Vector2D positionAfter;
    } cases[] = {
        {"heavily damped at rest rises slightly", 100, 1, {}, 1.0 / 60.0, {0, -4}, {0, 0.01667f}},
        {"higher friction damps less", 1000, 1, {}, 1.0 / 60.0, {0, -9.4f}, {0, -0.07333f}},
        {"a long frame counts as a fiftieth of a second", 100, 1, {}, 0.2, {0, -24}, {0, -0.45f}},
        {"a static body never moves itself", 100, 0, {100, 100}, 1.0 / 60.0, {100, 100}, {}},
        {"a frame without length moves nothing", 100, 1, {10, 0}, 0.0, {10, 0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        body->friction = c.friction;
        body->state = c.state;
        body->SetVelocity(c.velocity);
        object.GetTransform().SetPosition({});
        body->Integrate(c.frameTime);
        EXPECT_NEAR(body->GetVelocity().x, c.velocityAfter.x, 1e-4f);
        EXPECT_NEAR(body->GetVelocity().y, c.velocityAfter.y, 1e-4f);
        EXPECT_NEAR(object.GetTransform().GetPosition().x, c.positionAfter.x, 1e-5f);
        EXPECT_NEAR(object.GetTransform().GetPosition().y, c.positionAfter.y, 1e-5f);
    }
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

// Impulses are the cannon's and every collision's (Cannon.CatchesPullsInAndFires..., Player.*).
TEST(RigidBody2D, APolarForceMirrorsTheAngle) {
    RigidBody2D body;
    body.AddForcePolar(10.0f, 0.0f);
    EXPECT_NEAR(body.GetForce().x, -10.0f, 1e-5f);
    EXPECT_NEAR(body.GetForce().y, 0.0f, 1e-5f);
}

}  // namespace
