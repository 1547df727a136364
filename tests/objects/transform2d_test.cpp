#include "objects/transform2d.h"

#include <gtest/gtest.h>

#include "objects/object.h"

namespace {

TEST(Transform2D, RotationUsesTheGameConstantForPi) {
    Transform2D transform;
    transform.SetRotationRadians(kPi / 2.0f);
    EXPECT_EQ(transform.GetRotationDegrees(), 90);
    EXPECT_EQ(transform.GetRotationRadians(), 1.5707965f);
}

TEST(Transform2D, WholeDegreesRoundHalfUpAfterTruncatingTowardZero) {
    const float perDegree = kPi / 180.0f;
    EXPECT_EQ(RoundDegrees(89.5f * perDegree), 90);
    EXPECT_EQ(RoundDegrees(89.4f * perDegree), 89);
    EXPECT_EQ(RoundDegrees(-89.7f * perDegree), -89) << "negative fractions never round up";
    EXPECT_EQ(RoundDegrees(-0.2f * perDegree), 0);
    EXPECT_EQ(RoundDegrees(0.0f), 0);
    EXPECT_EQ(RoundDegrees(2.0f * kPi), 360);
}

TEST(Transform2D, WorldMatrixFloorsScaleAndMirroredPosition) {
    Object object;
    Transform2D& t = object.GetTransform();
    t.SetScale({10.7f, 4.2f});
    t.SetPosition({3.6f, -2.2f});
    t.SetZLayer(5.0f);
    const Matrix4 world = t.BuildWorldMatrix();
    EXPECT_EQ(world.m[0][0], 10.0f);
    EXPECT_EQ(world.m[1][1], 4.0f);
    EXPECT_EQ(world.m[2][2], 1.0f);
    EXPECT_EQ(world.m[3][0], -4.0f);
    EXPECT_EQ(world.m[3][1], -3.0f);
    EXPECT_EQ(world.m[3][2], 5.0f);
    EXPECT_EQ(world.m[3][3], 1.0f);
}

TEST(Transform2D, FlipsNegateTheirAxisScale) {
    Object object;
    object.GetTransform().SetScale({8.0f, 6.0f});
    object.SetHorizontalFlip(true);
    Matrix4 world = object.GetTransform().BuildWorldMatrix();
    EXPECT_EQ(world.m[0][0], -8.0f);
    EXPECT_EQ(world.m[1][1], 6.0f);
    object.SetHorizontalFlip(false);
    object.SetVerticalFlip(true);
    world = object.GetTransform().BuildWorldMatrix();
    EXPECT_EQ(world.m[0][0], 8.0f);
    EXPECT_EQ(world.m[1][1], -6.0f);
}

TEST(Transform2D, ScaleIsAppliedBeforeRotationAndTranslationLast) {
    Object object;
    Transform2D& t = object.GetTransform();
    t.SetScale({2.0f, 1.0f});
    t.SetRotationDegrees(90);
    t.SetPosition({-10.0f, 20.0f});
    // The quad corner (1, 0): scaled to (2, 0), turned a quarter to (0, 2), moved by (10, 20).
    const Vector4D p = Transform({1.0f, 0.0f, 0.0f}, t.BuildWorldMatrix());
    EXPECT_NEAR(p.x, 10.0f, 1e-5f);
    EXPECT_NEAR(p.y, 22.0f, 1e-5f);
}

TEST(Transform2D, WorldMatrixIsExactlyTheProductOfScaleRollAndTranslation) {
    Object object;
    Transform2D& t = object.GetTransform();
    t.SetScale({12.9f, 7.0f});
    t.SetZLayer(3.0f);
    object.SetHorizontalFlip(true);
    for (const float radians : {0.0f, 0.3f, -1.2f, kPi, 2.5f}) {
        SCOPED_TRACE(radians);
        const Vector2D at{-41.5f, 17.25f};
        const Matrix4 product =
            (Matrix4::Scaling(-12.0f, 7.0f, 1.0f) * Matrix4::RotationYawPitchRoll(0, 0, radians)) *
            Matrix4::Translation(41.0f, 17.0f, 3.0f);
        EXPECT_EQ(t.BuildWorldMatrixAt(at, radians), product);
    }
}

TEST(Transform2D, TranslateMovesPositionAndDepth) {
    Transform2D t;
    t.SetPosition({1.0f, 2.0f});
    t.Translate(3.0f, -4.0f, 0.5f);
    EXPECT_EQ(t.GetPosition(), Vector2D(4.0f, -2.0f));
    EXPECT_EQ(t.GetZLayer(), 0.5f);
}

}  // namespace
