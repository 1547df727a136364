// The search for dynamic-against-dynamic candidate pairs of the physics step.
//
// The step's rule is exhaustive: for each dynamic collider i and each other one j (both orders), in
// list order, test (i, j). The swept search yields the same ordered pairs in the same (i, j) order,
// minus only pairs whose conservative bounds are apart, which no test of the narrow phase can find
// overlapping. Because Collide has no side effects and pair order is kept, the step finds the same
// pairs in the same order with either search; tests prove it on random scenes.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "core/vector.h"

class PointCollider2D;

enum class DynamicPairSearch { Exhaustive, Swept };

// Axis-aligned box that holds every point any narrow-phase test of this collider can touch, with a
// margin for rounding.
struct ColliderBounds {
    float minX, minY, maxX, maxY;
};
ColliderBounds ConservativeBounds(const PointCollider2D& collider);
// Half extents of those bounds before the margin.
Vector2D ConservativeReach(const PointCollider2D& collider);

class DynamicPairFinder {
public:
    // Calls test(i, j) for each ordered candidate pair of non-null colliders, sorted by i then j.
    template <class Test>
    void ForEachCandidate(std::span<PointCollider2D* const> colliders, DynamicPairSearch search,
                          Test&& test);

private:
    void BuildSweptCandidates(std::span<PointCollider2D* const> colliders);

    std::vector<std::pair<std::uint32_t, std::uint32_t>> candidates_;
    std::vector<ColliderBounds> bounds_;
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> previousOrder_;
    std::vector<std::vector<std::uint32_t>> perFirst_;
};

template <class Test>
void DynamicPairFinder::ForEachCandidate(std::span<PointCollider2D* const> colliders,
                                         DynamicPairSearch search, Test&& test) {
    const auto n = static_cast<std::uint32_t>(colliders.size());
    if (search == DynamicPairSearch::Exhaustive) {
        for (std::uint32_t i = 0; i < n; ++i) {
            if (!colliders[i]) {
                continue;
            }
            for (std::uint32_t j = 0; j < n; ++j) {
                if (j != i && colliders[j]) {
                    test(i, j);
                }
            }
        }
        return;
    }
    BuildSweptCandidates(colliders);
    for (const auto& [i, j] : candidates_) {
        test(i, j);
    }
}
