#include "physics/collide.h"

#include <gtest/gtest.h>

#include <vector>

#include "physics/collider_test_support.h"
#include "support/engine_test.h"

namespace {

using physics_test::Box;
using physics_test::Circle;
using physics_test::Point;

using CollideTest = testing_support::EngineTest;

TEST_F(CollideTest, AabbTouchingEdgesAreApartAndOverlapPicksTheSmallerAxis) {
    Vector2D mtv;
    EXPECT_FALSE(AabbTest({0, 0}, {1, 1}, {2, 0}, {1, 1}, &mtv));
    EXPECT_FALSE(AabbTest({0, 0}, {1, 1}, {0, -2}, {1, 1}, nullptr));
    EXPECT_EQ(mtv, Vector2D{});  // untouched on a miss
    // x overlap 0.5, y overlap 2: pushed along x, from p2 toward p1.
    ASSERT_TRUE(AabbTest({0, 0}, {1, 1}, {1.5f, 0}, {1, 1}, &mtv));
    EXPECT_EQ(mtv, (Vector2D{-0.5f, 0}));
    ASSERT_TRUE(AabbTest({1.5f, 0}, {1, 1}, {0, 0}, {1, 1}, &mtv));
    EXPECT_EQ(mtv, (Vector2D{0.5f, 0}));
    // Equal overlaps go to y.
    ASSERT_TRUE(AabbTest({0, 0}, {1, 1}, {1, 1}, {1, 1}, &mtv));
    EXPECT_EQ(mtv, (Vector2D{0, -1}));
}

TEST_F(CollideTest, BoxBoxVectorPointsFromAToB) {
    auto a = Box({0, 0}, {1, 1});
    auto b = Box({1.5f, 0}, {1, 1});
    Vector2D mtv;
    ASSERT_TRUE(Collide(*a, *b, &mtv));
    EXPECT_EQ(mtv, (Vector2D{0.5f, 0}));
    ASSERT_TRUE(Collide(*b, *a, &mtv));
    EXPECT_EQ(mtv, (Vector2D{-0.5f, 0}));
    auto touching = Box({2, 0}, {1, 1});
    EXPECT_FALSE(Collide(*a, *touching));
}

TEST_F(CollideTest, QuarterTurnsSwapExtentsAndOddAnglesUseThePolygonTest) {
    EXPECT_TRUE(AlignmentOf(0.0f).axisAligned);
    EXPECT_FALSE(AlignmentOf(0.0f).swapped);
    const auto quarter = AlignmentOf(90 * kPi / 180);
    EXPECT_TRUE(quarter.axisAligned);
    EXPECT_TRUE(quarter.swapped);
    const auto minusQuarter = AlignmentOf(-90 * kPi / 180);
    EXPECT_TRUE(minusQuarter.axisAligned);
    EXPECT_TRUE(minusQuarter.swapped);
    EXPECT_FALSE(AlignmentOf(180 * kPi / 180).swapped);
    // 13 quarter turns: q = -2042, not a multiple of 157.
    EXPECT_FALSE(AlignmentOf(1170 * kPi / 180).axisAligned);

    // Rotated 90 degrees, half size (10, 2) acts as (2, 10).
    auto tall = Box({0, 0}, {10, 2}, 90);
    EXPECT_EQ(EffectiveHalfSize(*tall), (Vector2D{2, 10}));
    auto probeAbove = Box({0, 10.5f}, {1, 1});
    auto probeBeside = Box({5, 0}, {1, 1});
    EXPECT_TRUE(Collide(*tall, *probeAbove));
    EXPECT_FALSE(Collide(*tall, *probeBeside));
}

TEST_F(CollideTest, PolygonTestSeparatesRotatedBoxesAndOrientsTheVector) {
    auto diamond = Box({0, 0}, {10, 10}, 45);
    // Corner of the diamond reaches 14.14 along x; a box at 23 with half 10 reaches back to 13.
    auto near = Box({23, 0}, {10, 10});
    auto far = Box({25, 0}, {10, 10});
    Vector2D mtv;
    ASSERT_TRUE(Collide(*diamond, *near, &mtv));
    EXPECT_GT(mtv.x, 0.0f) << "points from the diamond toward the box";
    EXPECT_NEAR(mtv.Length(), 1.1421f, 1e-3f);
    ASSERT_TRUE(Collide(*near, *diamond, &mtv));
    EXPECT_LT(mtv.x, 0.0f);
    EXPECT_FALSE(Collide(*diamond, *far));
    EXPECT_FALSE(Collide(*far, *diamond));
}

TEST_F(CollideTest, PolygonTestCountsTouchingIntervalsAsOverlapping) {
    const std::vector<Vector2D> square = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
    const std::vector<Vector2D> touching = {{3, 1}, {3, -1}, {1, -1}, {1, 1}};
    const std::vector<Vector2D> apart = {{3.01f, 1}, {3.01f, -1}, {1.01f, -1}, {1.01f, 1}};
    Vector2D mtv{7, 7};
    EXPECT_TRUE(PolygonTest(square, touching, &mtv));
    EXPECT_EQ(mtv.Length(), 0.0f);
    EXPECT_FALSE(PolygonTest(square, apart, nullptr));
}

TEST_F(CollideTest, PolygonDotProductsKeepSmallOverlapsFarFromTheOrigin) {
    // At x = 1e7 a float dot product rounds to 1; the overlap of 0.25 survives in double.
    const std::vector<Vector2D> a = {{1.0e6f, 1}, {1.0e6f, -1}, {1.0e6f - 2, -1}, {1.0e6f - 2, 1}};
    const std::vector<Vector2D> b = {
        {1.0e6f + 1.75f, 1}, {1.0e6f + 1.75f, -1}, {1.0e6f - 0.25f, -1}, {1.0e6f - 0.25f, 1}};
    Vector2D mtv;
    ASSERT_TRUE(PolygonTest(a, b, &mtv));
    EXPECT_NEAR(mtv.Length(), 0.25f, 0.07f);
}

TEST_F(CollideTest, CirclesTouchingCollideWithAZeroVector) {
    auto small = Circle({0, 0}, 1);
    auto large = Circle({4, 0}, 3);
    Vector2D mtv{5, 5};
    ASSERT_TRUE(Collide(*small, *large, &mtv));
    EXPECT_EQ(mtv.Length(), 0.0f);
    auto apart = Circle({4.01f, 0}, 3);
    EXPECT_FALSE(Collide(*small, *apart));
    auto overlapping = Circle({3, 0}, 3);
    ASSERT_TRUE(Collide(*small, *overlapping, &mtv));
    EXPECT_EQ(mtv, (Vector2D{1, 0}));
}

TEST_F(CollideTest, CoincidentCirclesGetAFixedUnitDirection) {
    auto a = Circle({5, 5}, 2);
    auto b = Circle({5, 5}, 3);
    Vector2D mtv;
    ASSERT_TRUE(Collide(*a, *b, &mtv));
    EXPECT_EQ(mtv, (Vector2D{0, 5}));
}

TEST_F(CollideTest, BoxCircleUsesCornerRegions) {
    Vector2D mtv;
    // Inside the AABB of the circle's square but beyond the corner's reach.
    EXPECT_FALSE(BoxCircleTest({0, 0}, {1, 1}, {1.8f, 1.8f}, 1, &mtv));
    ASSERT_TRUE(BoxCircleTest({0, 0}, {1, 1}, {1.5f, 1.5f}, 1, &mtv));
    // From the circle toward the corner, length r - |d|.
    EXPECT_LT(mtv.x, 0.0f);
    EXPECT_LT(mtv.y, 0.0f);
    EXPECT_NEAR(mtv.Length(), 1.0f - 0.70710678f, 1e-5f);
    // Beside a face: the AABB answer.
    ASSERT_TRUE(BoxCircleTest({0, 0}, {1, 1}, {1.5f, 0}, 1, &mtv));
    EXPECT_EQ(mtv, (Vector2D{-0.5f, 0}));
}

TEST_F(CollideTest, BoxAgainstCircleIgnoresRotationButCircleAgainstBoxDoesNot) {
    auto diamond = Box({0, 0}, {10, 10}, 45);
    // The diamond's corner reaches x = 14.14; the unrotated box would end at 10, which a circle
    // at 12 with radius 2 only touches (apart).
    auto circle = Circle({12, 0}, 2);
    EXPECT_FALSE(Collide(*diamond, *circle));
    EXPECT_TRUE(Collide(*circle, *diamond));
    Vector2D mtv;
    auto square = Box({0, 0}, {10, 10});
    auto beside = Circle({11, 0}, 2);
    ASSERT_TRUE(Collide(*square, *beside, &mtv));
    EXPECT_EQ(mtv, (Vector2D{1, 0})) << "negated: from the box toward the circle";
    ASSERT_TRUE(Collide(*beside, *square, &mtv));
    EXPECT_EQ(mtv, (Vector2D{-1, 0}));
}

TEST_F(CollideTest, PointsMeetOnlyExactCentresOrTheStrictInsideOfABox) {
    auto p = Point({3, 4});
    auto same = Point({3, 4});
    auto other = Point({3, 4.0001f});
    EXPECT_TRUE(Collide(*p, *same));
    EXPECT_FALSE(Collide(*p, *other));
    auto box = Box({3, 4}, {1, 1});
    auto circle = Circle({3, 4}, 5);
    Vector2D mtv{9, 9};
    EXPECT_TRUE(Collide(*p, *box, &mtv));
    EXPECT_TRUE(Collide(*p, *circle, &mtv));
    EXPECT_EQ(mtv, (Vector2D{9, 9})) << "a point test computes no vector";
    EXPECT_FALSE(Collide(*other, *box));

    auto edge = Point({4, 4});
    EXPECT_FALSE(Collide(*box, *edge)) << "on the edge is not inside";
    auto inside = Point({3.5f, 4.5f});
    EXPECT_TRUE(Collide(*box, *inside, &mtv));
    EXPECT_EQ(mtv, (Vector2D{9, 9}));
    // The box's rotation and swap are ignored for points.
    auto flat = Box({0, 0}, {10, 1}, 90);
    auto alongX = Point({5, 0});
    auto alongY = Point({0, 5});
    EXPECT_TRUE(Collide(*flat, *alongX));
    EXPECT_FALSE(Collide(*flat, *alongY));
}

TEST_F(CollideTest, CircleAgainstPointPushesThePointOutward) {
    auto circle = Circle({0, 0}, 2);
    auto point = Point({0, 1.5f});
    Vector2D mtv;
    ASSERT_TRUE(Collide(*circle, *point, &mtv));
    EXPECT_EQ(mtv, (Vector2D{0, 0.5f}));
    auto outside = Point({0, 2.5f});
    EXPECT_FALSE(Collide(*circle, *outside));
}

}  // namespace
