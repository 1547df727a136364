#include "support/render_scene.h"

#include <unistd.h>

#include <vector>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "graphics/colored_square_component.h"
#include "graphics/graphics_system.h"
#include "graphics/texture_component.h"
#include "input/debug_keys.h"
#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "platform/graphics_device.h"
#include "platform/png_codec.h"

namespace testing_support {

Rgba CellColour(int frame) {
    return {static_cast<unsigned char>((frame * 37 + 40) % 256),
            static_cast<unsigned char>((frame * 91 + 20) % 256),
            static_cast<unsigned char>((frame * 53 + 100) % 256), 255};
}

namespace {

Rgba SheetPixel(int x, int y) {
    const int frame = (y / kSheetCell) * 10 + x / kSheetCell;
    const int cx = x % kSheetCell;
    const int cy = y % kSheetCell;
    switch (frame) {
        case 1:
            return cx < kSheetCell / 2 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
        case 2:
            return cy < kSheetCell / 2 ? Rgba{255, 255, 255, 4} : Rgba{0, 255, 0, 255};
        case 3:
            return {255, 255, 255, 128};
        default:
            return CellColour(frame);
    }
}

}  // namespace

ScratchAssets::ScratchAssets(const std::string& tag) {
    previous_ = std::filesystem::current_path();
    path_ =
        std::filesystem::temp_directory_path() / ("vorl_" + tag + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_ / "assets");
    platform::Image sheet;
    sheet.width = kSheetCell * 10;
    sheet.height = kSheetCell * 5;
    for (int y = 0; y < sheet.height; ++y) {
        for (int x = 0; x < sheet.width; ++x) {
            const Rgba p = SheetPixel(x, y);
            sheet.rgba.insert(sheet.rgba.end(), {p.r, p.g, p.b, p.a});
        }
    }
    platform::WritePngRgba((path_ / "assets" / "sheet.png").string(), sheet);
    std::filesystem::copy_file(std::filesystem::path(VORL_SOURCE_DIR) / "assets" / "PixelShader.fx",
                               path_ / "assets" / "PixelShader.fx");
    std::filesystem::current_path(path_);
}

ScratchAssets::~ScratchAssets() {
    std::error_code error;
    std::filesystem::current_path(previous_, error);
    std::filesystem::remove_all(path_, error);
}

namespace {

// A visible level object holding `component`, placed as given.
Object* MakeDrawn(const char* name, Component* component, Vector2D position, Vector2D scale,
                  float zlayer) {
    auto* object = new Object;
    object->AddComponent(name, component);
    object->GetTransform().SetPosition(position);
    object->GetTransform().SetScale(scale);
    object->GetTransform().SetZLayer(zlayer);
    object->SetVisible(true);
    LevelObjects().push_back(object);
    return object;
}

}  // namespace

Object* MakeSprite(const std::string& animation, Vector2D position, Vector2D scale, float zlayer) {
    auto* texture = new TextureComponent;
    texture->filename = animation;
    Object* object = MakeDrawn("TextureComponent", texture, position, scale, zlayer);
    CompleteObjectTexture(*object);
    return object;
}

Object* MakeSquare(Vector2D position, Vector2D scale, float zlayer, float r, float g, float b,
                   float a) {
    auto* square = new ColoredSquareComponent;
    square->redTint = r;
    square->greenTint = g;
    square->blueTint = b;
    square->alphaTint = a;
    return MakeDrawn("ColoredSquareComponent", square, position, scale, zlayer);
}

void RenderFrame(GraphicsSystem& graphics, const std::vector<std::pair<int, bool>>& keys) {
    FrameRateController::StartFrame();
    MessagingSystem::Update();
    InputSystem::Update();
    for (const auto& [key, pressed] : keys) {
        InputSystem::SetKey(key, pressed);
    }
    DebugKeys::SendDebugCommands();
    graphics.Update();
    graphics.Draw();
    FrameRateController::EndFrame();
}

}  // namespace testing_support
