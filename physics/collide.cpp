#include "physics/collide.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "physics/colliders.h"

BoxAlignment AlignmentOf(float angle) {
    if (angle == 0.0f) {
        return {true, false};
    }
    // 64-bit so that absurd rotations cannot overflow the truncation.
    const float scaled = -angle * 100.0f;
    const auto q = static_cast<long long>(scaled);
    return {q % 157 == 0, q % 314 != 0};
}

Vector2D EffectiveHalfSize(const BoxCollider2D& box) {
    const Vector2D& h = box.GetHalfSize();
    return AlignmentOf(box.GetAngle()).swapped ? Vector2D{h.y, h.x} : h;
}

bool AabbTest(Vector2D p1, Vector2D h1, Vector2D p2, Vector2D h2, Vector2D* mtv) {
    if (p2.x - h2.x >= p1.x + h1.x || p1.x - h1.x >= p2.x + h2.x || p2.y - h2.y >= p1.y + h1.y ||
        p1.y - h1.y >= p2.y + h2.y) {
        return false;
    }
    if (!mtv) {
        return true;
    }
    const Vector2D d = p2 - p1;
    const float ox = h1.x + h2.x - std::fabs(d.x);
    const float oy = h1.y + h2.y - std::fabs(d.y);
    if (oy > ox) {
        *mtv = Vector2D{p1.x - p2.x > 0.0f ? ox : -ox, 0.0f};
    } else {
        *mtv = Vector2D{0.0f, p1.y - p2.y > 0.0f ? oy : -oy};
    }
    return true;
}

bool PointCircleTest(Vector2D q, Vector2D c, float r, Vector2D* mtv) {
    const Vector2D d = q - c;
    if (d.SquaredLength() > r * r) {
        return false;
    }
    if (mtv) {
        *mtv = d.Normalized() * (r - d.Length());
    }
    return true;
}

bool BoxCircleTest(Vector2D p, Vector2D h, Vector2D c, float r, Vector2D* mtv) {
    if (!AabbTest(p, h, c, {r, r}, mtv)) {
        return false;
    }
    const bool right = c.x > p.x + h.x;
    const bool left = c.x < p.x - h.x;
    const bool above = c.y > p.y + h.y;
    const bool below = c.y < p.y - h.y;
    if ((right || left) && (above || below)) {
        const Vector2D corner{right ? p.x + h.x : p.x - h.x, above ? p.y + h.y : p.y - h.y};
        return PointCircleTest(corner, c, r, mtv);
    }
    return true;
}

bool CircleCircleTest(Vector2D p1, float r1, Vector2D p2, float r2, Vector2D* mtv) {
    const Vector2D d = p2 - p1;
    const float reach = r1 + r2;
    if (d.SquaredLength() > reach * reach) {
        return false;
    }
    if (mtv) {
        const float distance = d.Length();
        // Coincident centres have no direction of their own: push B straight up.
        const Vector2D direction = distance == 0.0f ? Vector2D{0.0f, 1.0f} : d / distance;
        *mtv = direction * (reach - distance);
    }
    return true;
}

namespace {

void AppendAxes(std::span<const Vector2D> polygon, bool normalize, std::vector<Vector2D>& axes) {
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vector2D e = polygon[(i + 1) % n] - polygon[i];
        const Vector2D axis{-e.y, e.x};
        axes.push_back(normalize ? axis.Normalized() : axis);
    }
}

void Project(std::span<const Vector2D> polygon, const Vector2D& axis, float& lo, float& hi) {
    lo = hi = polygon[0].Dot(axis);
    for (std::size_t i = 1; i < polygon.size(); ++i) {
        const float d = polygon[i].Dot(axis);
        lo = std::min(lo, d);
        hi = std::max(hi, d);
    }
}

}  // namespace

bool PolygonTest(std::span<const Vector2D> p, std::span<const Vector2D> q, Vector2D* mtv) {
    if (p.empty() || q.empty()) {
        return false;
    }
    std::vector<Vector2D> axes;
    axes.reserve(p.size() + q.size());
    AppendAxes(p, mtv != nullptr, axes);
    AppendAxes(q, mtv != nullptr, axes);
    float best = 20000.0f;
    Vector2D bestAxis;
    for (const Vector2D& axis : axes) {
        float minP, maxP, minQ, maxQ;
        Project(p, axis, minP, maxP);
        Project(q, axis, minQ, maxQ);
        float overlap;
        if (minQ <= minP) {
            if (!(minP <= maxQ)) {
                return false;
            }
            overlap = maxQ - minP;
        } else {
            if (!(minQ <= maxP)) {
                return false;
            }
            overlap = maxP - minQ;
        }
        if (overlap < best) {
            best = overlap;
            bestAxis = axis;
        }
    }
    if (mtv) {
        *mtv = bestAxis * best;
    }
    return true;
}

namespace {

// The polygon test with its vector turned to point from A's centre toward B's.
bool OrientedPolygonTest(const PointCollider2D& a, const PointCollider2D& b, Vector2D* mtv) {
    std::vector<Vector2D> outlineA;
    std::vector<Vector2D> outlineB;
    a.GetOutline(outlineA);
    b.GetOutline(outlineB);
    if (!PolygonTest(outlineA, outlineB, mtv)) {
        return false;
    }
    if (mtv && mtv->Dot(b.GetCentre() - a.GetCentre()) < 0.0f) {
        *mtv = -*mtv;
    }
    return true;
}

bool BoxAgainst(const BoxCollider2D& a, const PointCollider2D& b, Vector2D* mtv) {
    switch (b.Shape()) {
        case ColliderShape::Box: {
            const auto& box = static_cast<const BoxCollider2D&>(b);
            if (AlignmentOf(a.GetAngle()).axisAligned && AlignmentOf(box.GetAngle()).axisAligned) {
                return AabbTest(box.GetCentre(), EffectiveHalfSize(box), a.GetCentre(),
                                EffectiveHalfSize(a), mtv);
            }
            return OrientedPolygonTest(a, b, mtv);
        }
        case ColliderShape::Circle: {
            const auto& circle = static_cast<const CircleCollider2D&>(b);
            if (!BoxCircleTest(a.GetCentre(), EffectiveHalfSize(a), circle.GetCentre(),
                               circle.radius, mtv)) {
                return false;
            }
            if (mtv) {
                *mtv = -*mtv;
            }
            return true;
        }
        case ColliderShape::Point: {
            // Strictly inside the unrotated, unswapped box.
            const Vector2D c = a.GetCentre();
            const Vector2D h = a.GetHalfSize();
            const Vector2D q = b.GetCentre();
            return c.x - h.x < q.x && q.x < c.x + h.x && c.y - h.y < q.y && q.y < c.y + h.y;
        }
    }
    return false;
}

bool CircleAgainst(const CircleCollider2D& a, const PointCollider2D& b, Vector2D* mtv) {
    switch (b.Shape()) {
        case ColliderShape::Box: {
            const auto& box = static_cast<const BoxCollider2D&>(b);
            if (!AlignmentOf(box.GetAngle()).axisAligned) {
                return OrientedPolygonTest(a, b, mtv);
            }
            return BoxCircleTest(box.GetCentre(), EffectiveHalfSize(box), a.GetCentre(), a.radius,
                                 mtv);
        }
        case ColliderShape::Circle: {
            const auto& circle = static_cast<const CircleCollider2D&>(b);
            return CircleCircleTest(a.GetCentre(), a.radius, circle.GetCentre(), circle.radius,
                                    mtv);
        }
        case ColliderShape::Point:
            return PointCircleTest(b.GetCentre(), a.GetCentre(), a.radius, mtv);
    }
    return false;
}

}  // namespace

bool Collide(const PointCollider2D& a, const PointCollider2D& b, Vector2D* mtv) {
    switch (a.Shape()) {
        case ColliderShape::Box:
            return BoxAgainst(static_cast<const BoxCollider2D&>(a), b, mtv);
        case ColliderShape::Circle:
            return CircleAgainst(static_cast<const CircleCollider2D&>(a), b, mtv);
        case ColliderShape::Point:
            return a.GetCentre() == b.GetCentre();
    }
    return false;
}
