// The desktop panel layer: Dear ImGui on the SDL window, drawn with its OpenGL 3 renderer into the
// game's back buffer after the game's views, so the panel shows on screen and in screenshots.
//
// The panel lives in back-buffer pixels (1600 x 900) whatever the window's size: mouse positions
// are mapped through the letterbox the way the game maps them. Every window event reaches ImGui;
// the game loses a mouse event only while the pointer is over the panel (or a drag started on
// it), and a key only while a panel field is taking typed text. The OpenGL context of the window
// must be current while the layer lives.
#pragma once

#include <memory>

#include "platform/panel_layer.h"

struct SDL_Window;

namespace platform {

std::unique_ptr<PanelLayer> MakeImGuiPanels(SDL_Window* window);

}  // namespace platform
