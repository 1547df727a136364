#include "physics/static_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "physics/colliders.h"

void StaticGrid::Clear() {
    cells_.clear();
    index_.clear();
    filed_.clear();
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
    index_.assign(cells_.size(), {});
}

CellRange StaticGrid::RangeOf(const PointCollider2D& collider) const {
    std::vector<Vector2D>& outline = rangeScratch_;
    outline.clear();
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
    const auto id = static_cast<std::uint32_t>(filed_.size());
    filed_.push_back({collider,
                      MeasuredBounds(*collider),
                      collider->GetCentre(),
                      ExtentOf(*collider),
                      AngleOf(*collider),
                      {}});
    // Filed once per distinct cell; the row scan would file it in cell 0 once per outside
    // coordinate, which only repeats tests whose answer is already known.
    ForEachCell(r, [&](const std::vector<PointCollider2D*>& cell) {
        const auto k = static_cast<std::size_t>(&cell - cells_.data());
        cells_[k].push_back(collider);
        index_[k].entries.push_back(id);
        filed_[id].cells.push_back(static_cast<std::uint32_t>(k));
    });
}

Vector2D StaticGrid::ExtentOf(const PointCollider2D& collider) {
    switch (collider.Shape()) {
        case ColliderShape::Box:
            return static_cast<const BoxCollider2D&>(collider).GetHalfSize();
        case ColliderShape::Circle:
            return {static_cast<const CircleCollider2D&>(collider).radius, 0.0f};
        case ColliderShape::Point:
            break;
    }
    return {};
}

float StaticGrid::AngleOf(const PointCollider2D& collider) {
    return collider.Shape() == ColliderShape::Box
               ? static_cast<const BoxCollider2D&>(collider).GetAngle()
               : 0.0f;
}

ColliderBounds StaticGrid::MeasuredBounds(const PointCollider2D& collider) {
    ColliderBounds b = ConservativeBounds(collider);
    if (!std::isfinite(b.minX) || !std::isfinite(b.maxX) || !std::isfinite(b.minY) ||
        !std::isfinite(b.maxY)) {
        // Unmeasurable: met by every query.
        const float inf = std::numeric_limits<float>::infinity();
        b = {-inf, -inf, inf, inf};
    }
    return b;
}

void StaticGrid::RefreshBounds() {
    for (Filed& f : filed_) {
        // A collider whose owner is gone is never tested; its storage lives until the next
        // rebuild, so reading it is safe.
        const Vector2D centre = f.collider->GetCentre();
        const Vector2D extent = ExtentOf(*f.collider);
        const float angle = AngleOf(*f.collider);
        if (centre == f.centre && extent == f.extent && angle == f.angle) {
            continue;
        }
        f.centre = centre;
        f.extent = extent;
        f.angle = angle;
        f.bounds = MeasuredBounds(*f.collider);
        for (std::uint32_t k : f.cells) {
            index_[k].dirty = true;
        }
    }
}

void StaticGrid::Sort(CellIndex& index) {
    index.byMinX.resize(index.entries.size());
    index.maxWidth = 0.0f;
    for (std::uint32_t i = 0; i < index.entries.size(); ++i) {
        index.byMinX[i] = i;
        const ColliderBounds& b = filed_[index.entries[i]].bounds;
        index.maxWidth = std::max(index.maxWidth, b.maxX - b.minX);
    }
    std::sort(index.byMinX.begin(), index.byMinX.end(), [&](std::uint32_t a, std::uint32_t b) {
        return filed_[index.entries[a]].bounds.minX < filed_[index.entries[b]].bounds.minX;
    });
    index.dirty = false;
}
