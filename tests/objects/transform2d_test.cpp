#include "objects/transform2d.h"

#include <gtest/gtest.h>

#include "objects/object.h"

namespace {

TEST(Transform2D, WholeDegreesRoundHalfUpAfterTruncatingTowardZero) {
    const float perDegree = kPi / 180.0f;
    EXPECT_EQ(RoundDegrees(89.5f * perDegree), 90);
    EXPECT_EQ(RoundDegrees(89.4f * perDegree), 89);
    EXPECT_EQ(RoundDegrees(-89.7f * perDegree), -89) << "negative fractions never round up";
    EXPECT_EQ(RoundDegrees(-0.2f * perDegree), 0);
    EXPECT_EQ(RoundDegrees(0.0f), 0);
    EXPECT_EQ(RoundDegrees(2.0f * kPi), 360);
}

// Scale floored and flipped, then the roll, then the position with x mirrored, both floored.
TEST(Transform2D, WorldMatrixIsTheProductOfScaleRollAndTranslation) {
    Object object;
    Transform2D& t = object.GetTransform();
    t.SetScale({12.9f, 7.0f});
    t.SetZLayer(3.0f);
    const struct {
        bool flipH;
        bool flipV;
        int degrees;
        Vector2D position;
        Vector2D scale;
        Vector2D translation;
    } cases[] = {
        {false, false, 0, {3.6f, -2.2f}, {12, 7}, {-4, -3}},
        {true, false, 17, {-41.5f, 17.25f}, {-12, 7}, {41, 17}},
        {false, true, -69, {0, 0}, {12, -7}, {0, 0}},
        {true, true, 180, {-0.5f, 0.5f}, {-12, -7}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.degrees);
        object.SetHorizontalFlip(c.flipH);
        object.SetVerticalFlip(c.flipV);
        t.SetRotationDegrees(c.degrees);
        t.SetPosition(c.position);
        const Matrix4 product = (Matrix4::Scaling(c.scale.x, c.scale.y, 1.0f) *
                                 Matrix4::RotationYawPitchRoll(0, 0, t.GetRotationRadians())) *
                                Matrix4::Translation(c.translation.x, c.translation.y, 3.0f);
        EXPECT_EQ(t.BuildWorldMatrix(), product);
    }
    // The quad corner (1, 0): scaled to (2, 0), turned a quarter to (0, 2), moved by (10, 20).
    object.SetHorizontalFlip(false);
    object.SetVerticalFlip(false);
    t.SetScale({2.0f, 1.0f});
    t.SetRotationDegrees(90);
    t.SetPosition({-10.0f, 20.0f});
    const Vector4D p = Transform({1.0f, 0.0f, 0.0f}, t.BuildWorldMatrix());
    EXPECT_NEAR(p.x, 10.0f, 1e-5f);
    EXPECT_NEAR(p.y, 22.0f, 1e-5f);
}

}  // namespace
