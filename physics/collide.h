// The narrow phase: does collider A overlap collider B, and by what contact vector?
//
// The contact vector (mtv) points from A toward B; its length is the penetration depth. Moving B by
// +mtv (or A by -mtv, or any split) separates the pair. The physics step calls Collide() without
// output to find pairs and with output to resolve them.
//
// The rules are tuned into the levels and must not be "fixed": touching boxes are apart while
// touching circles collide; a rotated box tested against a circle ignores its rotation (the
// answer depends on which collider comes first); a point collides only with an exactly equal
// centre, or strictly inside a box.
#pragma once

#include <span>

#include "core/vector.h"

class PointCollider2D;
class BoxCollider2D;

// True when the shapes overlap. When `mtv` is given and the pair computes a contact vector, it is
// written there; pairs that compute none leave it untouched.
bool Collide(const PointCollider2D& a, const PointCollider2D& b, Vector2D* mtv = nullptr);

// How a box's angle reads to the dispatch: q = trunc(-angle * 100). Axis-aligned when q is a
// multiple of 157 (a quarter turn to two decimals); extents swapped when q is not a multiple of
// 314. Remainders keep the sign of q, so -90 degrees counts as aligned and swapped.
struct BoxAlignment {
    bool axisAligned = false;
    bool swapped = false;
};
BoxAlignment AlignmentOf(float angle);
// The box's half size as the unrotated tests use it (x and y exchanged when swapped).
Vector2D EffectiveHalfSize(const BoxCollider2D& box);

// The pair tests, exposed for their own tests.
//
// Boxes (p1, h1) and (p2, h2); touching edges are apart. mtv points from p2 toward p1 along the
// axis of the smaller overlap.
bool AabbTest(Vector2D p1, Vector2D h1, Vector2D p2, Vector2D h2, Vector2D* mtv);
// Box (p, h) against circle (c, r), with corner regions; mtv points from the circle to the box.
bool BoxCircleTest(Vector2D p, Vector2D h, Vector2D c, float r, Vector2D* mtv);
// Point q against circle (c, r); touching collides. mtv points from the circle to the point.
bool PointCircleTest(Vector2D q, Vector2D c, float r, Vector2D* mtv);
// Circle A (p1, r1) against circle B (p2, r2); touching collides. mtv points from A to B.
bool CircleCircleTest(Vector2D p1, float r1, Vector2D p2, float r2, Vector2D* mtv);
// Separating axes on two closed outlines, dot products in double precision. Touching intervals
// overlap. mtv is the smallest-overlap edge normal times the overlap, with that normal's sign.
bool PolygonTest(std::span<const Vector2D> p, std::span<const Vector2D> q, Vector2D* mtv);
