#include "physics/dynamic_pairs.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "physics/collide.h"
#include "physics/physics_test_support.h"
#include "support/engine_test.h"

namespace {

using DynamicPairs = testing_support::EngineTest;

struct RandomScene {
    std::vector<std::unique_ptr<Object>> owners;
    std::vector<PointCollider2D*> colliders;
};

// Boxes (some rotated, some at quarter turns), circles and points, crowded enough to overlap
// often and to touch exactly now and then (integer positions and sizes).
RandomScene MakeScene(std::mt19937& rng, int count, float spread) {
    RandomScene scene;
    std::uniform_int_distribution<int> shape(0, 9);
    std::uniform_real_distribution<float> coord(-spread, spread);
    std::uniform_int_distribution<int> size(1, 40);
    std::uniform_int_distribution<int> angle(-400, 400);
    for (int i = 0; i < count; ++i) {
        const int s = shape(rng);
        Vector2D at{coord(rng), coord(rng)};
        if (i % 3 == 0) {
            at = {std::round(at.x), std::round(at.y)};
        }
        const auto keep = [&](auto held) {
            scene.colliders.push_back(held.collider);
            scene.owners.push_back(std::move(held.object));
        };
        if (s < 6) {
            const int degrees = s < 2 ? angle(rng) : (s < 4 ? 90 * (angle(rng) % 5) : 0);
            keep(physics_test::Box(
                at, {static_cast<float>(size(rng)), static_cast<float>(size(rng))}, degrees));
        } else if (s < 9) {
            keep(physics_test::Circle(at, static_cast<float>(size(rng))));
        } else {
            // Points share centres with an earlier collider now and then.
            if (!scene.colliders.empty() && i % 2 == 0) {
                at = scene.colliders.back()->GetCentre();
            }
            keep(physics_test::Point(at));
        }
    }
    // A gap in the list, as for a dynamic object whose collider went away.
    scene.colliders[static_cast<std::size_t>(count / 2)] = nullptr;
    return scene;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> Found(const RandomScene& scene,
                                                           DynamicPairSearch search,
                                                           std::size_t* tested = nullptr) {
    DynamicPairFinder finder;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> found;
    std::size_t count = 0;
    finder.ForEachCandidate(scene.colliders, search, [&](std::uint32_t i, std::uint32_t j) {
        ++count;
        if (Collide(*scene.colliders[i], *scene.colliders[j])) {
            found.emplace_back(i, j);
        }
    });
    if (tested) {
        *tested = count;
    }
    return found;
}

TEST_F(DynamicPairs, SweptSearchFindsTheExhaustivePairsInTheSameOrder) {
    std::mt19937 rng(1234);
    std::size_t totalPairs = 0;
    for (int round = 0; round < 300; ++round) {
        const int count = 2 + round % 60;
        const float spread = round % 2 ? 100.0f : 600.0f;
        const RandomScene scene = MakeScene(rng, count, spread);
        std::size_t exhaustiveTests = 0;
        std::size_t sweptTests = 0;
        const auto reference = Found(scene, DynamicPairSearch::Exhaustive, &exhaustiveTests);
        const auto swept = Found(scene, DynamicPairSearch::Swept, &sweptTests);
        ASSERT_EQ(swept, reference) << "round " << round;
        EXPECT_LE(sweptTests, exhaustiveTests);
        totalPairs += reference.size();
    }
    EXPECT_GT(totalPairs, 1000u) << "the scenes must actually overlap";
}

TEST_F(DynamicPairs, FarFromTheOriginAndNonFiniteCentresStayEquivalent) {
    std::mt19937 rng(99);
    RandomScene scene = MakeScene(rng, 40, 50.0f);
    for (std::size_t i = 0; i < scene.owners.size(); ++i) {
        if (!scene.colliders[i]) {
            continue;
        }
        Vector2D c = scene.colliders[i]->GetCentre();
        scene.colliders[i]->SetCentre({c.x + 1.0e6f, c.y - 2.0e6f});
    }
    scene.colliders[3]->SetCentre({std::nanf(""), 0.0f});
    EXPECT_EQ(Found(scene, DynamicPairSearch::Swept), Found(scene, DynamicPairSearch::Exhaustive));
}

}  // namespace
