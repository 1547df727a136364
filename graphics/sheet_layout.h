// SheetLayout: where the frames of a sprite sheet lie in its image.
//
// Frame numbers always mean cells of the 10 x 5 grid (frame f in column f mod 10 and row f / 10),
// and the unit quad's texture coordinates always show the middle of a cell, inset by 0.0025 on
// each side; levels, archetypes and animations count on both. A full sheet is that grid itself.
// A packed sheet stores only the frames it uses, each as just the part of its cell that shows,
// anywhere in a smaller image, and says where in a text chunk of its PNG called "Vorl sheet":
//
//     quad 64 512                 the size, in screen pixels, the frames were drawn for
//     frame 0 2 2 64 512          frame 0 is the rectangle x 2, y 2, 64 x 512 of the image
//     slice 8 8 16 16             optional: borders (left, right, top, bottom, in quad pixels)
//                                 kept at their size when the picture is drawn bigger, while the
//                                 middle repeats instead of stretching
//     mipmaps                     optional: the picture is also drawn smaller than it is stored
//
// Empty cells cost nothing there. A frame the layout does not hold shows nothing, as an empty cell
// of a full sheet would.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/matrix.h"
#include "core/vector.h"
#include "platform/quad.h"

namespace platform {
struct Image;
}

class SheetLayout {
public:
    static constexpr unsigned int kColumns = 10;
    static constexpr unsigned int kRows = 5;
    static constexpr unsigned int kFrames = kColumns * kRows;
    // The unit quad's texture coordinates: one cell inset by this much on each side.
    static constexpr float kCellWidth = 1.0f / kColumns;
    static constexpr float kCellHeight = 1.0f / kRows;
    static constexpr float kInset = platform::kQuadU0;

    // A rectangle of the image, in pixels.
    struct Rect {
        float x = 0.0f;
        float y = 0.0f;
        float width = 0.0f;
        float height = 0.0f;
    };
    // Borders of a sliced picture, in quad pixels.
    struct Slice {
        float left = 0.0f;
        float right = 0.0f;
        float top = 0.0f;
        float bottom = 0.0f;
    };

    // The full 10 x 5 grid over an image of this size.
    static SheetLayout Grid(int width, int height);
    // The layout text of a packed sheet of width x height pixels. A malformed line is reported
    // through the data diagnostics under `file` and skipped; a text without a single good frame
    // line gives the full grid.
    static SheetLayout Read(std::string_view text, int width, int height, const std::string& file);

    bool IsPacked() const { return packed_; }
    // Whether frame f shows anything: false past the grid, and for cells a packed sheet leaves out.
    bool HasFrame(unsigned int frame) const;
    // The part of frame f's cell that shows (nothing when the layout lacks the frame).
    std::optional<Rect> FramePixels(unsigned int frame) const;
    // The texture matrix that takes the unit quad's coordinates to frame f in the image: for the
    // full grid the identity shifted by the frame's offset, for a packed sheet a scale and shift
    // onto the frame's rectangle.
    Matrix4 FrameMatrix(unsigned int frame) const;

    // The size the frames were drawn for; zero for a full sheet, which does not say.
    Vector2D QuadSize() const { return quad_; }
    const std::optional<Slice>& GetSlice() const { return slice_; }
    bool Mipmaps() const { return mipmaps_; }

    // Notes which frames are wholly opaque in the decoded image, so that they can be drawn without
    // blending: every texel of the frame and of the ring one texel around it (which filtering
    // reaches) has alpha 255, and the sheet has no mip levels (which blend in the gutters).
    void FindOpaqueFrames(const platform::Image& image);
    bool FrameIsOpaque(unsigned int frame) const;

private:
    struct Frame {
        bool present = false;
        bool opaque = false;
        Rect rect;
    };

    int width_ = 0;
    int height_ = 0;
    bool packed_ = false;
    bool mipmaps_ = false;
    Vector2D quad_{};
    std::optional<Slice> slice_;
    std::array<Frame, kFrames> frames_{};
};
