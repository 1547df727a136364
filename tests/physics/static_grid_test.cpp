#include "physics/static_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "physics/collide.h"
#include "physics/physics_test_support.h"
#include "support/engine_test.h"

namespace {

using StaticGridTest = testing_support::EngineTest;

TEST_F(StaticGridTest, BoundsFollowTheOutlinesAndTheFirstRowAndColumnShareCellZero) {
    auto a = physics_test::Box({0, 0}, {10, 10});
    auto b = physics_test::Box({1000, 500}, {10, 10});
    StaticGrid grid;
    grid.Rebuild({a.collider, b.collider}, [](const PointCollider2D&) { return false; });
    EXPECT_EQ(grid.MinX(), -10.0f);
    EXPECT_EQ(grid.MaxX(), 1010.0f);
    EXPECT_EQ(grid.MinY(), -10.0f);
    EXPECT_EQ(grid.MaxY(), 510.0f);
    EXPECT_EQ(grid.Cols(), 5u);  // trunc(1020 / 240 + 1)
    EXPECT_EQ(grid.Rows(), 3u);  // trunc(520 / 240 + 1)
    EXPECT_EQ(grid.Cells().size(), 15u);
    EXPECT_EQ(grid.IndexOf(0, 0), 0u);
    EXPECT_EQ(grid.IndexOf(3, 0), 0u);
    EXPECT_EQ(grid.IndexOf(0, 2), 0u);
    EXPECT_EQ(grid.IndexOf(-1, 2), 0u);
    EXPECT_EQ(grid.IndexOf(2, grid.Rows()), 0u);
    EXPECT_EQ(grid.IndexOf(2, 2), 2u * grid.Cols() + 2u);
    // The first box sits in cell 0, the second in its own cell.
    EXPECT_EQ(grid.Cells()[0], (std::vector<PointCollider2D*>{a.collider}));
    const CellRange r = grid.RangeOf(*b);
    EXPECT_EQ(r.x0, 4);
    EXPECT_EQ(r.y1, 2);
    EXPECT_EQ(grid.Cells()[grid.IndexOf(4, 2)], (std::vector<PointCollider2D*>{b.collider}));
}

TEST_F(StaticGridTest, CollidersSpanningCellsAreFiledInEachAndDynamicOnesNowhere) {
    auto wide = physics_test::Box({600, 600}, {300, 10});
    auto corner = physics_test::Box({0, 0}, {1, 1});
    auto mover = physics_test::Box({600, 600}, {5, 5});
    StaticGrid grid;
    grid.Rebuild({wide.collider, corner.collider, mover.collider},
                 [&](const PointCollider2D& c) { return &c == mover.collider; });
    int filed = 0;
    for (const auto& cell : grid.Cells()) {
        for (PointCollider2D* c : cell) {
            EXPECT_NE(c, mover.collider);
            filed += c == wide.collider;
        }
    }
    const CellRange r = grid.RangeOf(*wide);
    EXPECT_EQ(filed, r.x1 - r.x0 + 1);
    std::vector<const std::vector<PointCollider2D*>*> visited;
    grid.ForEachCell({-3, -2, 1, 1}, [&](const auto& cell) { visited.push_back(&cell); });
    // Cell 0 once, then (1, 1).
    ASSERT_EQ(visited.size(), 2u);
    EXPECT_EQ(visited[0], &grid.Cells()[0]);
    EXPECT_EQ(visited[1], &grid.Cells()[grid.IndexOf(1, 1)]);
    visited.clear();
    grid.ForEachCell({static_cast<int>(grid.Cols()), 1, 99, 2},
                     [&](const auto& cell) { visited.push_back(&cell); });
    EXPECT_TRUE(visited.empty()) << "a range starting right of the grid covers nothing";
}

TEST_F(StaticGridTest, AnEmptyOrHugeWorldStaysBounded) {
    StaticGrid grid;
    grid.Rebuild({}, [](const PointCollider2D&) { return false; });
    EXPECT_EQ(grid.Cells().size(), 1u);
    auto far = physics_test::Box({1.0e8f, 1.0e8f}, {1, 1});
    auto near = physics_test::Box({0, 0}, {1, 1});
    grid.Rebuild({far.collider, near.collider}, [](const PointCollider2D&) { return false; });
    EXPECT_EQ(grid.Cols(), StaticGrid::kMaxCols);
    EXPECT_EQ(grid.Rows(), StaticGrid::kMaxRows);
}

TEST_F(StaticGridTest, CandidatesInACrowdedCellAreCulledByBoundsInListOrder) {
    std::vector<physics_test::Held<BoxCollider2D>> tiles;
    std::vector<PointCollider2D*> colliders;
    for (int i = 0; i < 100; ++i) {
        tiles.push_back(physics_test::Box({16.0f + 32.0f * static_cast<float>(i % 50),
                                           16.0f + 32.0f * static_cast<float>(i / 50)},
                                          {16, 16}));
        colliders.push_back(tiles.back().collider);
    }
    StaticGrid grid;
    grid.Rebuild(colliders, [](const PointCollider2D&) { return false; });
    ASSERT_EQ(grid.Cells()[0].size(), 100u);
    auto probe = physics_test::Box({800, 60}, {10, 10});
    const auto candidates = [&] {
        grid.RefreshBounds();
        std::vector<PointCollider2D*> visited;
        grid.ForEachCandidate(grid.RangeOf(*probe), ConservativeBounds(*probe),
                              [&](PointCollider2D* c) { visited.push_back(c); });
        return visited;
    };
    const auto visited = candidates();
    EXPECT_LE(visited.size(), 8u);
    EXPECT_TRUE(std::is_sorted(visited.begin(), visited.end(), [&](auto* a, auto* b) {
        return std::find(colliders.begin(), colliders.end(), a) <
               std::find(colliders.begin(), colliders.end(), b);
    }));
    // The cull keeps every tile the probe meets, and meets each once.
    const auto hits = [&](std::vector<PointCollider2D*> from) {
        std::erase_if(from, [&](PointCollider2D* c) { return !Collide(*probe, *c); });
        return from;
    };
    EXPECT_EQ(hits(visited), hits(colliders));
    EXPECT_FALSE(hits(colliders).empty());

    // A tile moved after the rebuild is met where it now is.
    tiles[0].object->GetTransform().SetPosition({800, 80});
    const auto moved = candidates();
    ASSERT_FALSE(moved.empty());
    EXPECT_EQ(moved.front(), tiles[0].collider);
}

}  // namespace
