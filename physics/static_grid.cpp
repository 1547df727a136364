#include "physics/static_grid.h"

#include <algorithm>
#include <cmath>

#include "physics/colliders.h"

void StaticGrid::Clear() {
    cells_.clear();
    cols_ = 0;
    rows_ = 0;
}

void StaticGrid::ResetBounds() {
    // maxY starts lower than the others; kept as levels were bucketed with it.
    maxX_ = -10000.0f;
    maxY_ = -20000.0f;
    minX_ = 10000.0f;
    minY_ = 10000.0f;
}

void StaticGrid::Widen(const PointCollider2D& collider) {
    scratch_.clear();
    collider.GetOutline(scratch_);
    for (const Vector2D& p : scratch_) {
        maxX_ = std::max(maxX_, p.x);
        maxY_ = std::max(maxY_, p.y);
        minX_ = std::min(minX_, p.x);
        minY_ = std::min(minY_, p.y);
    }
}

namespace {
// trunc(span / 240 + 1), at least one cell (an empty world has inverted bounds) and at most `cap`.
unsigned CellCount(float span, unsigned cap) {
    const float count = std::trunc(span / StaticGrid::kCellSize + 1.0f);
    if (!(count >= 1.0f)) {
        return 1;
    }
    return count >= static_cast<float>(cap) ? cap : static_cast<unsigned>(count);
}

int CellOf(float offset) {
    const float cell = std::trunc(offset / StaticGrid::kCellSize);
    // Clamped far outside the grid so that the int conversion is defined; such cells are cell 0.
    return static_cast<int>(std::clamp(cell, -1.0e6f, 1.0e6f));
}
}  // namespace

void StaticGrid::Resize() {
    cols_ = CellCount(maxX_ - minX_, kMaxCols);
    rows_ = CellCount(maxY_ - minY_, kMaxRows);
    cells_.assign(static_cast<std::size_t>(cols_) * rows_, {});
}

CellRange StaticGrid::RangeOf(const PointCollider2D& collider) const {
    std::vector<Vector2D> outline;
    outline.reserve(10);
    collider.GetOutline(outline);
    float bminX = outline[0].x, bmaxX = outline[0].x;
    float bminY = outline[0].y, bmaxY = outline[0].y;
    for (const Vector2D& p : outline) {
        bminX = std::min(bminX, p.x);
        bmaxX = std::max(bmaxX, p.x);
        bminY = std::min(bminY, p.y);
        bmaxY = std::max(bmaxY, p.y);
    }
    return {CellOf(bminX - minX_), CellOf(bminY - minY_), CellOf(bmaxX - minX_),
            CellOf(bmaxY - minY_)};
}

std::size_t StaticGrid::IndexOf(int x, int y) const {
    if (x <= 0 || y <= 0 || x >= static_cast<int>(cols_) || y >= static_cast<int>(rows_)) {
        return 0;
    }
    return static_cast<std::size_t>(y) * cols_ + static_cast<std::size_t>(x);
}

void StaticGrid::File(PointCollider2D* collider) {
    const CellRange r = RangeOf(*collider);
    // Filed once per distinct cell; the row scan would file it in cell 0 once per outside
    // coordinate, which only repeats tests whose answer is already known.
    ForEachCell(r, [&](const std::vector<PointCollider2D*>& cell) {
        const_cast<std::vector<PointCollider2D*>&>(cell).push_back(collider);
    });
}
