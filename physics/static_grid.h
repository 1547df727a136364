// StaticGrid: the uniform 240-pixel grid that buckets the static colliders so that each dynamic
// object meets only the colliders of the cells it covers. Built by the physics system when a level
// finishes loading; a static collider that moves afterwards stays in its old cells.
//
// Cell (x, y) is stored at y * cols + x only when 0 < x < cols and 0 < y < rows. Every other
// coordinate, the whole first row and first column and everything outside included, shares cell 0:
// colliders there meet every dynamic object whose range touches row 0, column 0 or the outside.
// Levels are laid out against that mapping.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/vector.h"
#include "physics/colliders.h"

struct CellRange {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

class StaticGrid {
public:
    static constexpr float kCellSize = 240.0f;
    // A level far larger than any designed is bucketed coarsely rather than exhausting memory:
    // coordinates beyond these counts share cell 0.
    static constexpr unsigned kMaxCols = 1024;
    static constexpr unsigned kMaxRows = 1024;

    // Bounds over every collider's outline, then every collider for which `isDynamic` is false is
    // filed in each cell of its range. Each collider runs its update before it is measured.
    template <class IsDynamic>
    void Rebuild(const std::vector<PointCollider2D*>& colliders, IsDynamic isDynamic);

    // The cells covered by the bounding box of `collider`'s outline.
    CellRange RangeOf(const PointCollider2D& collider) const;
    // The storage index of cell (x, y): 0 for the first row and column and the outside.
    std::size_t IndexOf(int x, int y) const;

    // Calls visit(cell) once for each distinct cell of `range`, in the order a row-by-row scan
    // first meets it. (Scanning a cell twice finds nothing new.)
    template <class Visit>
    void ForEachCell(const CellRange& range, Visit&& visit) const;

    void Clear();
    unsigned Cols() const { return cols_; }
    unsigned Rows() const { return rows_; }
    float MinX() const { return minX_; }
    float MinY() const { return minY_; }
    float MaxX() const { return maxX_; }
    float MaxY() const { return maxY_; }
    const std::vector<std::vector<PointCollider2D*>>& Cells() const { return cells_; }

private:
    void ResetBounds();
    void Widen(const PointCollider2D& collider);
    void Resize();
    void File(PointCollider2D* collider);

    std::vector<std::vector<PointCollider2D*>> cells_;
    unsigned cols_ = 0;
    unsigned rows_ = 0;
    float maxX_ = 0.0f;
    float maxY_ = 0.0f;
    float minX_ = 0.0f;
    float minY_ = 0.0f;
    std::vector<Vector2D> scratch_;
};

template <class IsDynamic>
void StaticGrid::Rebuild(const std::vector<PointCollider2D*>& colliders, IsDynamic isDynamic) {
    Clear();
    ResetBounds();
    for (PointCollider2D* collider : colliders) {
        collider->Update();
        Widen(*collider);
    }
    Resize();
    for (PointCollider2D* collider : colliders) {
        collider->Update();
        if (!isDynamic(*collider)) {
            File(collider);
        }
    }
}

template <class Visit>
void StaticGrid::ForEachCell(const CellRange& r, Visit&& visit) const {
    if (cells_.empty()) {
        return;
    }
    bool cellZeroSeen = false;
    auto visitZero = [&] {
        if (!cellZeroSeen) {
            cellZeroSeen = true;
            visit(cells_[0]);
        }
    };
    const int cols = static_cast<int>(cols_);
    const int rows = static_cast<int>(rows_);
    // A range that starts right of the grid covers no cell at all.
    if (r.x0 >= cols) {
        return;
    }
    for (int y = r.y0; y <= r.y1; ++y) {
        if (y <= 0 || y >= rows) {
            if (r.x0 <= r.x1) {
                visitZero();
            }
            if (y >= rows) {
                break;
            }
            y = std::max(y, 0);
            continue;
        }
        for (int x = r.x0; x <= r.x1; ++x) {
            if (x <= 0) {
                visitZero();
                x = 0;
                continue;
            }
            if (x >= cols) {
                visitZero();
                break;
            }
            visit(cells_[static_cast<std::size_t>(y) * cols_ + static_cast<std::size_t>(x)]);
        }
    }
}
