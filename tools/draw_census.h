// The headless runner's census of what was drawn how big: for every frame of every sheet shown, the
// largest and smallest it stood on the 1600 x 900 screen, the sizes a level designer and the art
// tools must agree on.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include "core/vector.h"
#include "graphics/camera.h"
#include "graphics/graphics_system.h"
#include "graphics/texture.h"
#include "graphics/texture_component.h"
#include "objects/object.h"

namespace tools {

class DrawCensus {
public:
    // Notes every textured object the frame just drawn showed, at its size on screen.
    void Observe(GraphicsSystem& graphics) {
        const std::vector<CameraView*>& views = ViewList();
        if (views.empty() || !views.front()->camera) {
            return;
        }
        const CameraView& view = *views.front();
        const float zoom = view.camera->GetZoom();
        for (TextureComponent* texture : graphics.TextureComponents().Items()) {
            const Object* owner = texture->GetOwner();
            Texture* sheet = texture->GetTexture();
            if (!owner || !owner->IsVisible() || !sheet || !texture->GetImage() ||
                !texture->ShowsCurrentFrame()) {
                continue;
            }
            const Transform2D& t = owner->GetTransform();
            if (!BoxInView(*view.camera, view.viewport, t.GetPosition(), t.GetScale())) {
                continue;
            }
            const Vector2D drawn{2.0f * std::fabs(t.GetScale().x) / zoom,
                                 2.0f * std::fabs(t.GetScale().y) / zoom};
            Extent& extent = seen_[{sheet, texture->GetCurrentFrame()}];
            extent.largest = {std::max(extent.largest.x, drawn.x),
                              std::max(extent.largest.y, drawn.y)};
            extent.smallest = {std::min(extent.smallest.x, drawn.x),
                               std::min(extent.smallest.y, drawn.y)};
        }
    }

    void Print() const {
        for (const auto& [key, extent] : seen_) {
            const auto& [sheet, frame] = key;
            const SheetLayout& layout = sheet->layout;
            const auto stored = layout.FramePixels(frame);
            const Vector2D quad = layout.QuadSize();
            std::printf(
                "drawn %s %u stored %.0f %.0f quad %.0f %.0f sliced %s mipmaps %s largest %.1f "
                "%.1f smallest %.1f %.1f\n",
                sheet->name.c_str(), frame, stored ? stored->width : 0.0f,
                stored ? stored->height : 0.0f, quad.x, quad.y, layout.GetSlice() ? "yes" : "no",
                layout.Mipmaps() ? "yes" : "no", extent.largest.x, extent.largest.y,
                extent.smallest.x, extent.smallest.y);
        }
    }

private:
    struct Extent {
        Vector2D largest{0.0f, 0.0f};
        Vector2D smallest{1.0e9f, 1.0e9f};
    };
    struct Order {
        bool operator()(const std::pair<const Texture*, unsigned int>& a,
                        const std::pair<const Texture*, unsigned int>& b) const {
            return a.first->name != b.first->name ? a.first->name < b.first->name
                                                  : a.second < b.second;
        }
    };
    std::map<std::pair<const Texture*, unsigned int>, Extent, Order> seen_;
};

}  // namespace tools
