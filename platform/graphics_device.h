// The drawing surface as the engine sees it. The desktop implementation is OpenGL 3.3 core on the
// SDL window; the headless twin draws nothing. The renderer grows this contract as it needs.
#pragma once

#include <memory>

namespace platform {

class GraphicsDevice {
public:
    virtual ~GraphicsDevice() = default;
    virtual bool IsHeadless() const = 0;
    virtual void BeginFrame() = 0;
    virtual void Present() = 0;
};

std::unique_ptr<GraphicsDevice> MakeHeadlessGraphicsDevice();

}  // namespace platform
