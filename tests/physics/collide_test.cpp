#include "physics/collide.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "physics/physics_test_support.h"
#include "support/engine_test.h"

namespace {

using physics_test::Held;

using CollideTest = testing_support::EngineTest;

// A collider written as a table cell: a box (half size, degrees), a circle or a point.
struct Shape {
    char kind;
    Vector2D at;
    Vector2D size = {};
    int degrees = 0;
};
Shape B(float x, float y, float halfX, float halfY, int degrees = 0) {
    return {'B', {x, y}, {halfX, halfY}, degrees};
}
Shape C(float x, float y, float radius) {
    return {'C', {x, y}, {radius, 0}};
}
Shape P(float x, float y) {
    return {'P', {x, y}};
}

Held<PointCollider2D> Make(const Shape& s) {
    if (s.kind == 'B') {
        auto box = physics_test::Box(s.at, s.size, s.degrees);
        return {std::move(box.object), box.collider};
    }
    if (s.kind == 'C') {
        auto circle = physics_test::Circle(s.at, s.size.x);
        return {std::move(circle.object), circle.collider};
    }
    return physics_test::Point(s.at);
}

// Whether `a` meets `b`, and the vector that pushes b out of a (from a toward b). Touching counts
// for polygons and circles (a zero vector) but not for boxes on the axes; points meet only the
// strict inside of a box and compute no vector.
struct Pair {
    const char* name;
    Shape a, b;
    bool hit;
    std::optional<Vector2D> mtv = std::nullopt;  // exact, when given
    float length = -1.0f;                        // else its length, when given
};

TEST_F(CollideTest, PairsMeetOrMissWithTheirPushVector) {
    const Pair pairs[] = {
        {"boxes overlapping", B(0, 0, 1, 1), B(1.5f, 0, 1, 1), true, Vector2D{0.5f, 0}},
        {"boxes the other way", B(1.5f, 0, 1, 1), B(0, 0, 1, 1), true, Vector2D{-0.5f, 0}},
        {"boxes touching", B(0, 0, 1, 1), B(2, 0, 1, 1), false},
        {"quarter turn swaps extents", B(0, 0, 10, 2, 90), B(0, 10.5f, 1, 1), true},
        {"quarter turn, beside", B(0, 0, 10, 2, 90), B(5, 0, 1, 1), false},
        {"diamond near", B(0, 0, 10, 10, 45), B(23, 0, 10, 10), true, std::nullopt, 1.1421f},
        {"diamond near, the other way", B(23, 0, 10, 10), B(0, 0, 10, 10, 45), true, {}, 1.1421f},
        {"diamond far", B(0, 0, 10, 10, 45), B(25, 0, 10, 10), false},
        {"diamond far, the other way", B(25, 0, 10, 10), B(0, 0, 10, 10, 45), false},
        {"circles touching", C(0, 0, 1), C(4, 0, 3), true, std::nullopt, 0.0f},
        {"circles apart", C(0, 0, 1), C(4.01f, 0, 3), false},
        {"circles overlapping", C(0, 0, 1), C(3, 0, 3), true, Vector2D{1, 0}},
        {"coincident circles", C(5, 5, 2), C(5, 5, 3), true, Vector2D{0, 5}},
        {"box against circle ignores rotation", B(0, 0, 10, 10, 45), C(12, 0, 2), false},
        {"circle against box does not", C(12, 0, 2), B(0, 0, 10, 10, 45), true},
        {"box then circle", B(0, 0, 10, 10), C(11, 0, 2), true, Vector2D{1, 0}},
        {"circle then box", C(11, 0, 2), B(0, 0, 10, 10), true, Vector2D{-1, 0}},
        {"same points", P(3, 4), P(3, 4), true},
        {"points apart", P(3, 4), P(3, 4.0001f), false},
        {"point in box", P(3, 4), B(3, 4, 1, 1), true, Vector2D{9, 9}},
        {"point in circle", P(3, 4), C(3, 4, 5), true, Vector2D{9, 9}},
        {"a point first meets only the centre", P(3, 4.0001f), B(3, 4, 1, 1), false},
        {"point on a box's edge", B(3, 4, 1, 1), P(4, 4), false},
        {"point inside a box", B(3, 4, 1, 1), P(3.5f, 4.5f), true, Vector2D{9, 9}},
        {"point ignores a box's turn", B(0, 0, 10, 1, 90), P(5, 0), true},
        {"point ignores a box's turn, across", B(0, 0, 10, 1, 90), P(0, 5), false},
        {"circle pushes a point out", C(0, 0, 2), P(0, 1.5f), true, Vector2D{0, 0.5f}},
        {"point outside a circle", C(0, 0, 2), P(0, 2.5f), false},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.name);
        const auto a = Make(p.a);
        const auto b = Make(p.b);
        Vector2D mtv{9, 9};
        ASSERT_EQ(Collide(*a, *b, &mtv), p.hit);
        if (p.mtv) {
            EXPECT_EQ(mtv, *p.mtv);
        }
        if (p.length >= 0.0f) {
            EXPECT_NEAR(mtv.Length(), p.length, 1e-3f);
            const Vector2D aToB = p.b.at - p.a.at;
            EXPECT_GE(mtv.x * aToB.x + mtv.y * aToB.y, 0.0f) << "points from a toward b";
        }
    }
}

TEST_F(CollideTest, TheShapeTestsAtTheirEdges) {
    Vector2D mtv;
    EXPECT_FALSE(AabbTest({0, 0}, {1, 1}, {0, -2}, {1, 1}, &mtv));
    EXPECT_EQ(mtv, Vector2D{}) << "untouched on a miss";
    ASSERT_TRUE(AabbTest({0, 0}, {1, 1}, {1, 1}, {1, 1}, &mtv));
    EXPECT_EQ(mtv, (Vector2D{0, -1})) << "equal overlaps go to y";
    EXPECT_FALSE(AlignmentOf(0.0f).swapped);
    EXPECT_TRUE(AlignmentOf(-90 * kPi / 180).swapped);
    EXPECT_FALSE(AlignmentOf(180 * kPi / 180).swapped);
    EXPECT_FALSE(AlignmentOf(1170 * kPi / 180).axisAligned) << "13 quarter turns drift off";
    // Inside the square around the circle but beyond the corner's reach.
    EXPECT_FALSE(BoxCircleTest({0, 0}, {1, 1}, {1.8f, 1.8f}, 1, &mtv));
    ASSERT_TRUE(BoxCircleTest({0, 0}, {1, 1}, {1.5f, 1.5f}, 1, &mtv));
    EXPECT_LT(mtv.x, 0.0f);
    EXPECT_LT(mtv.y, 0.0f);
    EXPECT_NEAR(mtv.Length(), 1.0f - 0.70710678f, 1e-5f);
    ASSERT_TRUE(BoxCircleTest({0, 0}, {1, 1}, {1.5f, 0}, 1, &mtv));
    EXPECT_EQ(mtv, (Vector2D{-0.5f, 0}));

    const std::vector<Vector2D> square = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
    const std::vector<Vector2D> touching = {{3, 1}, {3, -1}, {1, -1}, {1, 1}};
    const std::vector<Vector2D> apart = {{3.01f, 1}, {3.01f, -1}, {1.01f, -1}, {1.01f, 1}};
    EXPECT_TRUE(PolygonTest(square, touching, &mtv));
    EXPECT_EQ(mtv.Length(), 0.0f);
    EXPECT_FALSE(PolygonTest(square, apart, nullptr));
    // At x = 1e7 a float dot product rounds to 1; the overlap of 0.25 survives in double.
    const std::vector<Vector2D> far = {
        {1.0e6f, 1}, {1.0e6f, -1}, {1.0e6f - 2, -1}, {1.0e6f - 2, 1}};
    const std::vector<Vector2D> farther = {
        {1.0e6f + 1.75f, 1}, {1.0e6f + 1.75f, -1}, {1.0e6f - 0.25f, -1}, {1.0e6f - 0.25f, 1}};
    ASSERT_TRUE(PolygonTest(far, farther, &mtv));
    EXPECT_NEAR(mtv.Length(), 0.25f, 0.07f);
}

}  // namespace
