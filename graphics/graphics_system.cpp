#include "graphics/graphics_system.h"

#include "platform/graphics_device.h"

void GraphicsSystem::Update() {
    HandleMessages();
    device_.BeginFrame();
    device_.Present();
}
