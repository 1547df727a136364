// GraphicsSystem: draws the frame after every other system has run. Kept outside the system table
// so it always runs last.
#pragma once

#include "core/system.h"

namespace platform {
class GraphicsDevice;
class Window;
}  // namespace platform

class GraphicsSystem : public System {
public:
    GraphicsSystem(platform::GraphicsDevice& device, platform::Window& window)
        : device_(device), window_(window) {}
    void Update() override;

private:
    platform::GraphicsDevice& device_;
    platform::Window& window_;
};
