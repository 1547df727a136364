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
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/vector.h"
#include "physics/colliders.h"
#include "physics/dynamic_pairs.h"

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

    // Calls visit(collider) for the colliders of each distinct cell of `range`, in cell order and
    // list order, leaving out only those whose conservative bounds are apart from `query`: no
    // narrow-phase test could find such a pair, so the pairs found and their order are those of
    // a full scan. Call RefreshBounds() first in each step.
    template <class Visit>
    void ForEachCandidate(const CellRange& range, const ColliderBounds& query, Visit&& visit);
    // Re-measures every filed collider that moved or changed size since it was last measured
    // (a static collider may be moved by gameplay; it keeps its cells, but is tested where it is).
    void RefreshBounds();

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

    struct Filed {
        PointCollider2D* collider;
        ColliderBounds bounds;
        Vector2D centre;
        Vector2D extent;  // what the bounds were measured from: see ExtentOf
        float angle;
        std::vector<std::uint32_t> cells;
    };
    // Per cell: entry ids in list order, and positions in that list sorted by bounds.minX.
    struct CellIndex {
        std::vector<std::uint32_t> entries;
        std::vector<std::uint32_t> byMinX;
        float maxWidth = 0.0f;
        bool dirty = true;
    };
    // Cells short enough to scan are not indexed.
    static constexpr std::size_t kIndexedCellSize = 24;

    // The shape data the bounds depend on besides the centre and a box's angle: the half size, or
    // the radius as (r, 0).
    static Vector2D ExtentOf(const PointCollider2D& collider);
    static float AngleOf(const PointCollider2D& collider);
    static ColliderBounds MeasuredBounds(const PointCollider2D& collider);
    void Sort(CellIndex& index);

    std::vector<std::vector<PointCollider2D*>> cells_;
    std::vector<CellIndex> index_;
    std::vector<Filed> filed_;
    std::vector<std::uint32_t> hits_;
    unsigned cols_ = 0;
    unsigned rows_ = 0;
    float maxX_ = 0.0f;
    float maxY_ = 0.0f;
    float minX_ = 0.0f;
    float minY_ = 0.0f;
    std::vector<Vector2D> scratch_;
    // RangeOf runs for every dynamic object every step; it reuses this storage.
    mutable std::vector<Vector2D> rangeScratch_;
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
void StaticGrid::ForEachCandidate(const CellRange& range, const ColliderBounds& query,
                                  Visit&& visit) {
    const bool finite = std::isfinite(query.minX) && std::isfinite(query.maxX) &&
                        std::isfinite(query.minY) && std::isfinite(query.maxY);
    ForEachCell(range, [&](const std::vector<PointCollider2D*>& cell) {
        CellIndex& index = index_[static_cast<std::size_t>(&cell - cells_.data())];
        if (!finite || cell.size() < kIndexedCellSize) {
            for (PointCollider2D* c : cell) {
                visit(c);
            }
            return;
        }
        if (index.dirty) {
            Sort(index);
        }
        const float from = query.minX - index.maxWidth;
        auto it = std::lower_bound(index.byMinX.begin(), index.byMinX.end(), from,
                                   [&](std::uint32_t position, float x) {
                                       return filed_[index.entries[position]].bounds.minX < x;
                                   });
        hits_.clear();
        for (; it != index.byMinX.end(); ++it) {
            const ColliderBounds& b = filed_[index.entries[*it]].bounds;
            if (b.minX > query.maxX) {
                break;
            }
            if (b.maxX >= query.minX && b.minY <= query.maxY && query.minY <= b.maxY) {
                hits_.push_back(*it);
            }
        }
        std::sort(hits_.begin(), hits_.end());
        for (std::uint32_t position : hits_) {
            visit(cell[position]);
        }
    });
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
