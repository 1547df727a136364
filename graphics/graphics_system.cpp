#include "graphics/graphics_system.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "core/editor_mode.h"
#include "core/frame_rate_controller.h"
#include "core/message_reactions.h"
#include "core/messaging.h"
#include "core/screen.h"
#include "graphics/camera.h"
#include "graphics/colored_square_component.h"
#include "graphics/screen_text.h"
#include "graphics/texture.h"
#include "graphics/texture_component.h"
#include "input/input_system.h"
#include "input/mouse_unproject.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "platform/graphics_device.h"
#include "platform/message_box.h"
#include "platform/png_codec.h"
#include "platform/window.h"

namespace {

constexpr platform::Argb kLoadingColour = 0xFFC4E1FFu;
constexpr platform::Argb kLoadingClear = 0xFF000000u;
constexpr platform::Argb kViewClear = 0x00000000u;
constexpr platform::Argb kStatisticsColour = 0xFF00FF00u;
constexpr platform::Argb kLabelColour = 0xFFFFFFFFu;

// The views as the mouse sees them, with matrices for the cameras as they are now.
std::vector<MouseCamera> MouseCameras() {
    std::vector<MouseCamera> cameras;
    for (const CameraView* view : ViewList()) {
        if (!view->camera) {
            continue;
        }
        MouseCamera camera;
        const Viewport& v = view->viewport;
        camera.viewport = {static_cast<float>(v.x),
                           static_cast<float>(v.y),
                           static_cast<float>(v.width),
                           static_cast<float>(v.height),
                           v.minZ,
                           v.maxZ};
        camera.view = CameraViewMatrix(*view->camera);
        camera.projection = CameraProjectionMatrix(*view->camera, v);
        cameras.push_back(camera);
    }
    return cameras;
}

// How a sliced picture fits an object of this scale (the quad spans twice the scale): nothing
// when the picture is not sliced or is not drawn bigger than it was made. An axis whose borders
// leave no middle stretches as usual.
std::optional<platform::QuadDraw::Slice> SliceFor(const SheetLayout& layout, Vector2D scale) {
    const auto& borders = layout.GetSlice();
    const Vector2D made = layout.QuadSize();
    if (!borders || made.x <= 0.0f || made.y <= 0.0f) {
        return std::nullopt;
    }
    platform::QuadDraw::Slice slice;
    slice.repeatX = 2.0f * std::fabs(scale.x) / made.x;
    slice.repeatY = 2.0f * std::fabs(scale.y) / made.y;
    slice.left = borders->left / made.x;
    slice.right = borders->right / made.x;
    slice.top = borders->top / made.y;
    slice.bottom = borders->bottom / made.y;
    if (slice.left + slice.right >= 1.0f) {
        slice.repeatX = std::min(slice.repeatX, 1.0f);
    }
    if (slice.top + slice.bottom >= 1.0f) {
        slice.repeatY = std::min(slice.repeatY, 1.0f);
    }
    if (slice.repeatX <= 1.0f && slice.repeatY <= 1.0f) {
        return std::nullopt;
    }
    return slice;
}

}  // namespace

GraphicsSystem::GraphicsSystem(platform::GraphicsDevice& device, platform::Window& window)
    : device_(device), window_(window) {
    SetTextureLoader(
        [&device](const platform::Image& image, const platform::TextureOptions& options) {
            return device.CreateTexture(image, options);
        },
        [&device](platform::GpuTexture* texture) { device.DestroyTexture(texture); });
    const std::string error =
        device_.LoadEffect(Assets::ReadPathOf(kEffectName, "the shading effect"));
    if (!error.empty()) {
        platform::ShowWarningBox("Shader Compile Error...", error);
    }
    tintAvailable_ = device_.HasTechnique("Tint");
    reactions_
        .On<DebugCommandMessage>([this](const DebugCommandMessage& debug) {
            if (debug.command == DebugCommand::ToggleOverlay) {
                debugOverlay_ = !debugOverlay_;
            } else if (debug.command == DebugCommand::Screenshot) {
                screenshotRequested_ = true;
            }
        })
        .On<RegisterComponentMessage>([this](const RegisterComponentMessage& reg) {
            if (reg.family != ComponentFamily::Graphics || !reg.component ||
                !reg.component->GetOwner()) {
                return;
            }
            // Each list takes only its own class; a component is in at most one.
            if (!textures_.AddAnnounced(reg.component, true) &&
                !shaders_.AddAnnounced(reg.component)) {
                squares_.AddAnnounced(reg.component);
            }
        })
        .On({MessageType::ArchetypesLoaded}, [this] { assetsLoaded_ = true; })
        // The old level is destroyed in the step that reads ClearLevel, and the new one's
        // pictures join a step after it is loaded: the frames between would show nothing.
        .On({MessageType::ClearLevel},
            [this] {
                holdingLastFrame_ = true;
                framesHeld_ = 0;
            })
        .On({MessageType::LevelObjectsLoaded, MessageType::EnterLevelEditor,
             MessageType::EnterArchetypeEditor},
            [this] { holdingLastFrame_ = false; })
        .On({MessageType::LevelStarted}, [this] { ReleaseBigPicturesNotShown(); });
    ResetCameras();
    LevelManager::GetHooks().resetCameras = [] { ResetCameras(); };
    // Headless runs have no window pixels: their mouse positions are world units already.
    if (!device_.IsHeadless()) {
        InputSystem::SetCameraSource(&MouseCameras);
    }
}

GraphicsSystem::~GraphicsSystem() {
    SetTextureLoader(nullptr);
    LevelManager::GetHooks().resetCameras = nullptr;
    if (!device_.IsHeadless()) {
        InputSystem::SetCameraSource(nullptr);
    }
}

void GraphicsSystem::Update() {
    HandleMessages();
    if (assetsLoaded_) {
        AnimateSprites();
    }
    NotePoses();
}

void GraphicsSystem::AnimateSprites() {
    textures_.Walk([](TextureComponent& texture) {
        if (texture.GetOwner()->IsVisible()) {
            texture.Update();
        }
    });
}

void GraphicsSystem::NotePoses() {
    objectPoses_.BeginStep();
    cameraPoses_.BeginStep();
    auto note = [this](const Object* object) {
        const Transform2D& t = object->GetTransform();
        objectPoses_.Note(object->CreationNumber(), {t.GetPosition(), t.GetRotationRadians()});
    };
    textures_.Walk([&](TextureComponent& texture) { note(texture.GetOwner()); });
    squares_.Walk([&](ColoredSquareComponent& square) { note(square.GetOwner()); });
    for (const Camera* camera : CameraList()) {
        cameraPoses_.Note(camera->CreationNumber(), {camera->GetPosition(), 0.0f});
    }
}

double GraphicsSystem::DrawnFraction() const {
    // Without interpolation every frame shows the latest step: a whole step on from the one before.
    return stepInterpolation_ ? FrameRateController::StepFraction() : 1.0;
}

void GraphicsSystem::Draw() {
    if (window_.IsHidden()) {
        if (!deviceLost_) {
            deviceLost_ = true;
            MessagingSystem::Send<DeviceLostToggleMessage>();
        }
        return;
    }
    if (deviceLost_) {
        deviceLost_ = false;
        MessagingSystem::Send<DeviceLostToggleMessage>();
    }

    if (holdingLastFrame_ && assetsLoaded_ && framesHeld_ < kMostFramesHeld) {
        // Between two levels the window keeps the last frame presented rather than a black one.
        ++framesHeld_;
        return;
    }
    holdingLastFrame_ = false;
    device_.BeginFrame();
    if (!assetsLoaded_) {
        DrawLoadingScreen();
    } else {
        DrawViews();
    }
    const bool screenshot = screenshotRequested_;
    screenshotRequested_ = false;
    if (screenshot || captureRequested_) {
        captureRequested_ = false;
        if (!device_.ReadBackBuffer(captured_)) {
            captured_ = {};
        }
    }
    device_.Present();
    firstScreenShown_ = firstScreenShown_ || (assetsLoaded_ && device_.QuadsDrawn() > 0);

    if (screenshot) {
        SaveScreenshot();
    }
    if (firstScreenShown_) {
        LoadListedSheets();
    }
}

void GraphicsSystem::ReleaseBigPicturesNotShown() {
    for (auto& [name, texture] : TextureTable()) {
        if (texture->decodedBytes > kBigPictureBytes && texture->shownInLevel < levelStarts_) {
            ReleaseTexture(*texture);
        }
    }
    ++levelStarts_;
}

void GraphicsSystem::LoadListedSheets() {
    const auto start = std::chrono::steady_clock::now();
    while (LoadNextListedTexture(kBigPictureBytes)) {
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        if (spent.count() >= kLoadingSliceSeconds) {
            break;
        }
    }
}

void GraphicsSystem::DrawLoadingScreen() {
    device_.SetViewport(0, 0, Screen::kWidth, Screen::kHeight);
    device_.Clear(kLoadingClear, 1.0f);
    // Centred on the screen both ways: the text is drawn from the top of its line.
    device_.DrawText(kLoadingText, Screen::kWidth / 2,
                     Screen::kHeight / 2 - ScreenText::kLineHeight / 2, kLoadingColour,
                     platform::TextAlign::Centre);
}

void GraphicsSystem::DrawViews() {
    // A copy: nothing drawn here creates views, but a view list changed by an overlay must not
    // invalidate the walk.
    const std::vector<CameraView*> views = ViewList();
    for (CameraView* view : views) {
        if (!view->camera) {
            continue;
        }
        const Camera& camera = *view->camera;
        const Viewport& viewport = view->viewport;
        device_.SetViewport(viewport.x, viewport.y, viewport.width, viewport.height);
        device_.Clear(kViewClear, 1.0f);
        view->Recompute(
            cameraPoses_
                .Drawn(camera.CreationNumber(), {camera.GetPosition(), 0.0f}, DrawnFraction())
                .position);
        device_.SetViewProjection(view->view, view->projection);

        textures_.Walk([&](TextureComponent& texture) {
            Object& object = *texture.GetOwner();
            if (!object.IsVisible()) {
                return;
            }
            const Transform2D& transform = object.GetTransform();
            if (!BoxInView(camera, viewport, transform.GetPosition(), transform.GetScale())) {
                return;
            }
            DrawObject(object, &texture, *view);
        });
        squares_.Walk([&](ColoredSquareComponent& square) {
            Object& object = *square.GetOwner();
            if (!PointInView(camera, viewport, object.GetTransform().GetPosition())) {
                return;
            }
            DrawObject(object, nullptr, *view);
        });
        shaders_.Prune();

        if (debugOverlay_) {
            DrawStatistics();
        }
    }
    if (!EditorMode::IsActive()) {
        ScreenText::DrawAll(device_);
    }
    if (overlayDrawer_) {
        device_.SetViewport(0, 0, Screen::kWidth, Screen::kHeight);
        device_.Flush();
        overlayDrawer_();
    }
}

StepInterpolation::Pose GraphicsSystem::DrawnPose(const Object& object) const {
    const Transform2D& transform = object.GetTransform();
    StepInterpolation::Pose drawn = objectPoses_.Drawn(
        object.CreationNumber(), {transform.GetPosition(), transform.GetRotationRadians()},
        DrawnFraction());
    if (object.DrawnAt()) {
        drawn.position = *object.DrawnAt();
    }
    return drawn;
}

void GraphicsSystem::DrawObject(Object& object, TextureComponent* texture, const CameraView& view) {
    if (!object.IsVisible()) {
        return;
    }
    const Transform2D& transform = object.GetTransform();
    const StepInterpolation::Pose drawn = DrawnPose(object);
    platform::QuadDraw quad;
    quad.world = transform.BuildWorldMatrixAt(drawn.position, drawn.radians);
    if (texture) {
        // A cell a packed sheet leaves out is empty: nothing of it would pass the alpha test.
        if (texture->ShowsCurrentFrame()) {
            quad.fill = platform::QuadDraw::Fill::Texture;
            quad.texture = texture->GetImage();
            quad.textureMatrix = texture->TextureMatrix();
            if (Texture* sheet = texture->GetTexture()) {
                sheet->shownInLevel = levelStarts_;
                quad.slice = SliceFor(sheet->layout, object.GetTransform().GetScale());
                quad.opaque = samePictureShortcuts_ && sheet->image &&
                              sheet->layout.FrameIsOpaque(texture->GetCurrentFrame());
            }
            quad.nearestWhereTexelExact = samePictureShortcuts_;
            device_.DrawQuad(quad);
        }
    } else if (auto* square = object.Get<ColoredSquareComponent>("ColoredSquareComponent")) {
        // Without the effect a square cannot be tinted and is not drawn at all, rather than
        // showing the quad's raw vertex colours.
        if (tintAvailable_) {
            quad.fill = platform::QuadDraw::Fill::Effect;
            quad.technique = "Tint";
            quad.floats = {{"tintr", square->redTint},
                           {"tintg", square->greenTint},
                           {"tintb", square->blueTint},
                           {"tinta", square->alphaTint}};
            device_.DrawQuad(quad);
        }
    } else {
        quad.fill = platform::QuadDraw::Fill::VertexColour;
        device_.DrawQuad(quad);
    }
    if (object.IsSelected()) {
        DrawLabel(object, view);
    }
}

void GraphicsSystem::DrawLabel(Object& object, const CameraView& view) {
    const Vector2D p = object.GetTransform().GetPosition();
    const Vector2D c = view.camera ? view.camera->GetPosition() : Vector2D{};
    const int x = static_cast<int>(p.x + Screen::kCentreX - c.x);
    const int y = static_cast<int>(Screen::kCentreY - p.y + c.y);
    std::string text;
    if (EditorMode::IsActive()) {
        text = "(X: " + std::to_string(p.x) + "Y: " + std::to_string(p.y) + ")";
    } else {
        text = object.GetInfoStream().str();
    }
    // The label's rectangle is one pixel wide starting at x, so its centre is half a pixel on.
    device_.DrawText(text, x, y, kLabelColour, platform::TextAlign::Centre);
}

namespace {

// What paces the frames, for the statistics overlay.
std::string DisplayLine(const platform::DisplayPacing& pacing) {
    std::ostringstream line;
    line << "Display: ";
    if (pacing.refreshRate > 0.0) {
        line << pacing.refreshRate << " Hz, ";
    } else {
        line << "rate unknown, ";
    }
    switch (pacing.sync) {
        case platform::DisplayPacing::Sync::Adaptive:
            line << "adaptive vsync";
            break;
        case platform::DisplayPacing::Sync::Vertical:
            line << "vsync";
            break;
        case platform::DisplayPacing::Sync::Off:
            line << "no vsync, capped at "
                 << (pacing.refreshRate > 0.0 ? pacing.refreshRate
                                              : 1.0 / FrameRateController::GetDT());
            break;
    }
    return line.str();
}

}  // namespace

void GraphicsSystem::DrawStatistics() {
    std::string text = FrameRateController::BuildStatsText();
    text += DisplayLine(window_.Pacing()) + '\n';
    text += "Objects: " + std::to_string(LevelObjects().size());
    device_.DrawText(text, 0, 0, kStatisticsColour, platform::TextAlign::Left);
}

std::string GraphicsSystem::SaveScreenshot() {
    if (captured_.rgba.empty()) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path folder = Assets::Current().pictures;
    std::filesystem::create_directories(folder, error);
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream name;
    name << (folder / "screenshot-").string() << std::put_time(&local, "%Y%m%d-%H%M%S");
    // Several shots in one second stay apart.
    std::string path = name.str() + ".png";
    for (int n = 1; std::filesystem::exists(path, error); ++n) {
        path = name.str() + "-" + std::to_string(n) + ".png";
    }
    if (!platform::WritePngRgb(path, captured_)) {
        std::cout << "Screenshot " << path << " could not be written" << '\n';
        return {};
    }
    std::cout << "Screenshot saved to " << path << '\n';
    return path;
}
