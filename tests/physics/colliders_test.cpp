#include "physics/colliders.h"

#include <gtest/gtest.h>

#include <vector>

#include "physics/physics_test_support.h"
#include "support/engine_test.h"

namespace {

using physics_test::Box;
using physics_test::Circle;

using CollidersTest = testing_support::EngineTest;

TEST_F(CollidersTest, OutlinesFollowTheShapeAndTheBoxAngle) {
    std::vector<Vector2D> outline;
    Box({10, 20}, {2, 1})->GetOutline(outline);
    EXPECT_EQ(outline, (std::vector<Vector2D>{{12, 21}, {12, 19}, {8, 19}, {8, 21}}));
    outline.clear();
    Box({0, 0}, {2, 1}, 90)->GetOutline(outline);
    ASSERT_EQ(outline.size(), 4u);
    // theta = -90 degrees: (2, 1) -> (1, -2).
    EXPECT_NEAR(outline[0].x, 1.0f, 1e-5f);
    EXPECT_NEAR(outline[0].y, -2.0f, 1e-5f);

    outline.clear();
    Circle({1, 2}, 3)->GetOutline(outline);
    ASSERT_EQ(outline.size(), 10u);
    EXPECT_EQ(outline[0], (Vector2D{4, 2}));
    EXPECT_NEAR(outline[5].x, -2.0f, 1e-5f);
    for (const Vector2D& p : outline) {
        EXPECT_NEAR((p - Vector2D{1, 2}).Length(), 3.0f, 1e-5f);
    }
    outline.clear();
    physics_test::Point({7, 8})->GetOutline(outline);
    EXPECT_EQ(outline, (std::vector<Vector2D>{{7, 8}}));
}

TEST_F(CollidersTest, FindColliderPrefersPointThenBoxThenCircle) {
    Object o;
    EXPECT_EQ(FindCollider(o), nullptr);
    auto* circle = new CircleCollider2D;
    o.AddComponent("CircleCollider2D", circle);
    EXPECT_EQ(FindCollider(o), circle);
    auto* box = new BoxCollider2D;
    o.AddComponent("BoxCollider2D", box);
    EXPECT_EQ(FindCollider(o), box);
    auto* point = new PointCollider2D;
    o.AddComponent("PointCollider2D", point);
    EXPECT_EQ(FindCollider(o), point);
}

}  // namespace
