#include "physics/dynamic_pairs.h"

#include <algorithm>
#include <cmath>

#include "physics/collide.h"
#include "physics/colliders.h"

Vector2D ConservativeReach(const PointCollider2D& collider) {
    switch (collider.Shape()) {
        case ColliderShape::Box: {
            const auto& box = static_cast<const BoxCollider2D&>(collider);
            const Vector2D h = box.GetHalfSize();
            const float hx = std::fabs(h.x);
            const float hy = std::fabs(h.y);
            const BoxAlignment alignment = AlignmentOf(box.GetAngle());
            if (!alignment.axisAligned) {
                // The turned outline, and the unrotated half size the box-circle and box-point
                // tests use.
                return {hx + hy, hx + hy};
            }
            if (!alignment.swapped) {
                return {hx, hy};
            }
            // A quarter-turned box is swapped for the box tests but not for the point test.
            const float m = std::max(hx, hy);
            return {m, m};
        }
        case ColliderShape::Circle: {
            const float r = std::fabs(static_cast<const CircleCollider2D&>(collider).radius);
            return {r, r};
        }
        case ColliderShape::Point:
            break;
    }
    return {};
}

ColliderBounds ConservativeBounds(const PointCollider2D& collider) {
    const Vector2D c = collider.GetCentre();
    const Vector2D reach = ConservativeReach(collider);
    // Rounding in the tests (a quarter-turned outline is off by a few ulps) grows with the
    // magnitude of the coordinates.
    const float margin = 1.0f + 1.0e-4f * (std::fabs(c.x) + std::fabs(c.y) + reach.x + reach.y);
    return {c.x - reach.x - margin, c.y - reach.y - margin, c.x + reach.x + margin,
            c.y + reach.y + margin};
}

namespace {
bool Finite(const ColliderBounds& b) {
    return std::isfinite(b.minX) && std::isfinite(b.minY) && std::isfinite(b.maxX) &&
           std::isfinite(b.maxY);
}
}  // namespace

void DynamicPairFinder::BuildSweptCandidates(std::span<PointCollider2D* const> colliders) {
    candidates_.clear();
    bounds_.resize(colliders.size());
    order_.clear();
    std::vector<std::uint32_t> unbounded;
    for (std::uint32_t i = 0; i < colliders.size(); ++i) {
        if (!colliders[i]) {
            continue;
        }
        bounds_[i] = ConservativeBounds(*colliders[i]);
        // A collider with a non-finite coordinate may answer anything; it meets everyone.
        (Finite(bounds_[i]) ? order_ : unbounded).push_back(i);
    }
    const auto before = [&](std::uint32_t a, std::uint32_t b) {
        return bounds_[a].minX < bounds_[b].minX || (bounds_[a].minX == bounds_[b].minX && a < b);
    };
    // Bodies move little between steps: when the same colliders take part, last step's order is
    // nearly sorted and an insertion sort finishes it in about one pass. The order is total, so
    // either sort gives the same result.
    bool reuse = previousOrder_.size() == order_.size();
    for (std::size_t k = 0; reuse && k < previousOrder_.size(); ++k) {
        const std::uint32_t i = previousOrder_[k];
        reuse = i < colliders.size() && colliders[i] && Finite(bounds_[i]);
    }
    if (reuse) {
        order_.swap(previousOrder_);
        for (std::size_t k = 1; k < order_.size(); ++k) {
            const std::uint32_t item = order_[k];
            std::size_t m = k;
            while (m > 0 && before(item, order_[m - 1])) {
                order_[m] = order_[m - 1];
                --m;
            }
            order_[m] = item;
        }
    } else {
        std::sort(order_.begin(), order_.end(), before);
    }
    previousOrder_ = order_;
    // Candidates are gathered per first index and each run sorted by the second, which gives the
    // (i, j) order without sorting all pairs together.
    perFirst_.resize(std::max(perFirst_.size(), colliders.size()));
    for (std::size_t i = 0; i < colliders.size(); ++i) {
        perFirst_[i].clear();
    }
    for (std::size_t k = 0; k < order_.size(); ++k) {
        const std::uint32_t i = order_[k];
        const ColliderBounds& bi = bounds_[i];
        for (std::size_t m = k + 1; m < order_.size(); ++m) {
            const std::uint32_t j = order_[m];
            const ColliderBounds& bj = bounds_[j];
            if (bj.minX > bi.maxX) {
                break;
            }
            if (bj.minY <= bi.maxY && bi.minY <= bj.maxY) {
                perFirst_[i].push_back(j);
                perFirst_[j].push_back(i);
            }
        }
    }
    for (std::uint32_t u : unbounded) {
        for (std::uint32_t i = 0; i < colliders.size(); ++i) {
            if (colliders[i] && i != u) {
                perFirst_[u].push_back(i);
                perFirst_[i].push_back(u);
            }
        }
    }
    for (std::uint32_t i = 0; i < colliders.size(); ++i) {
        auto& js = perFirst_[i];
        std::sort(js.begin(), js.end());
        js.erase(std::unique(js.begin(), js.end()), js.end());
        for (std::uint32_t j : js) {
            candidates_.emplace_back(i, j);
        }
    }
}
