// GraphicsSystem: draws the frame after every other system has run (Core keeps it outside the
// system table so it always runs last). Its Update() is its share of a simulation step: it reads
// the messages and the F1 and F12 keys, which are counted in steps; Draw() is the drawn frame.
// Until ArchetypesLoaded it shows only the loading text; then, for each camera view, every visible
// textured object and every visible coloured square as a unit quad through its object's world
// matrix, with the "zlayer" deciding depth. There is no sorting: the depth test, the alpha test and
// blending decide what covers what.
//
// Components are never owned here: texture components (archetypes included, since archetypes are
// invisible until something shows them), shader and coloured-square components of level objects
// join the lists one frame after they announce themselves and leave on the first pass that finds
// their owner cleared. A hidden or minimised window counts as a lost device: nothing is drawn and
// DeviceLostToggle is sent on the way in and on the way out. F1 toggles the statistics overlay;
// F12 saves the frame into the pictures folder (meta/assets.h). Every visible sprite advances its
// animation once a simulation step, on screen or not and however many views show it, so its speed
// never depends on the drawing rate; a hidden one stands still. Objects and cameras are drawn
// between their last two steps where the frame falls between them (graphics/step_interpolation.h).
//
// Sheets are listed at start-up, not read (graphics/texture.h). Once a frame has shown something
// of a level (the splash, as the game starts), each frame after presenting reads listed sheets
// for a few milliseconds, so that the art loads while the first screens show; a sheet something
// draws before then is read on the spot. Big pictures (backgrounds, menu pages, title cards) are
// not read ahead: each is read when first shown, and released at a level start when the level
// that ends did not show it, so that only the few in use take memory. Between a level's end and
// the next one's objects no frame is presented, so a restart never flashes an empty screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/system.h"
#include "graphics/step_interpolation.h"
#include "objects/component_list.h"
#include "platform/graphics_device.h"

namespace platform {
class Window;
}  // namespace platform

class CameraView;
class ColoredSquareComponent;
class Object;
class TextureComponent;

class GraphicsSystem : public System {
public:
    static constexpr const char* kEffectName = "PixelShader.fx";
    static constexpr const char* kLoadingText = "Loading Vorl Game";
    // How long a frame may spend reading listed sheets after it is presented; at least one is
    // read whenever any waits.
    static constexpr double kLoadingSliceSeconds = 0.006;
    // Sheets whose pixels take more than this are big pictures, read only when shown.
    static constexpr std::size_t kBigPictureBytes = 1 << 20;
    // The most drawn frames held back between two levels, whatever comes.
    static constexpr int kMostFramesHeld = 30;

    // Installs the device's texture loader, loads the effect (a compile failure shows a warning
    // box and leaves tinting off) and creates the default camera view.
    GraphicsSystem(platform::GraphicsDevice& device, platform::Window& window);
    ~GraphicsSystem() override;

    // The step's share: messages, the F1 and F12 keys, the animations, and where everything drawn
    // now stands.
    void Update() override;
    // Draws the latest state of the game (nothing while the window is hidden).
    void Draw();

    // Where `object` is drawn this frame, before the floor to whole pixels.
    StepInterpolation::Pose DrawnPose(const Object& object) const;
    // Draws one object with the view already set on the device; nothing when it is invisible.
    void DrawObject(Object& object, TextureComponent* texture, const CameraView& view);

    // Keeps a copy of the next frame drawn, read before it is presented; F12 does the same.
    void CaptureNextFrame() { captureRequested_ = true; }
    // The frame kept last; empty when none was kept (nothing asked, headless, or hidden).
    const platform::Image& CapturedFrame() const { return captured_; }

    // Saves the frame kept last as PNG in the pictures folder; returns the path, or an empty
    // string when there is no such frame or the file cannot be written.
    std::string SaveScreenshot();

    // Called once per frame after every view, for panels drawn over the game (the editor).
    void SetOverlayDrawer(std::function<void()> drawer) { overlayDrawer_ = std::move(drawer); }

    bool AssetsLoaded() const { return assetsLoaded_; }
    bool DeviceLost() const { return deviceLost_; }
    bool TintAvailable() const { return tintAvailable_; }
    // On by default, two shortcuts that give the same picture for less work: frames whose every
    // texel is opaque (backgrounds) are drawn without blending, and pictures whose texels fall one
    // on one on pixels may be read with the nearest filter. Off draws everything blended and
    // filtered linearly, so that tests can compare the two.
    void SetSamePictureShortcuts(bool on) { samePictureShortcuts_ = on; }
    // On by default. Off draws every frame at the latest step, as a game without interpolation
    // would, so that tests and benchmarks can measure what it is for.
    void SetStepInterpolation(bool on) { stepInterpolation_ = on; }
    bool DebugOverlay() const { return debugOverlay_; }
    void SetDebugOverlay(bool on) { debugOverlay_ = on; }
    const ComponentList<TextureComponent>& TextureComponents() const { return textures_; }
    const ComponentList<ShaderComponent>& ShaderComponents() const { return shaders_; }
    const ComponentList<ColoredSquareComponent>& ColoredSquares() const { return squares_; }
    platform::GraphicsDevice& Device() { return device_; }

private:
    void DrawLoadingScreen();
    void DrawViews();
    void DrawLabel(Object& object, const CameraView& view);
    void DrawStatistics();
    void AnimateSprites();
    void NotePoses();
    double DrawnFraction() const;
    void LoadListedSheets();
    void ReleaseBigPicturesNotShown();

    platform::GraphicsDevice& device_;
    platform::Window& window_;
    ComponentList<TextureComponent> textures_;
    ComponentList<ShaderComponent> shaders_;
    ComponentList<ColoredSquareComponent> squares_;
    std::function<void()> overlayDrawer_;
    StepInterpolation objectPoses_;
    StepInterpolation cameraPoses_;
    platform::Image captured_;
    bool captureRequested_ = false;
    bool screenshotRequested_ = false;
    bool deviceLost_ = false;
    bool assetsLoaded_ = false;
    bool debugOverlay_ = false;
    bool tintAvailable_ = false;
    bool samePictureShortcuts_ = true;
    bool stepInterpolation_ = true;
    // From ClearLevel until the next level's objects are loaded nothing is drawn or presented, so
    // the window goes on showing the old level instead of an empty frame.
    bool holdingLastFrame_ = false;
    int framesHeld_ = 0;
    // A frame has drawn something of a level: reading the rest of the art may begin.
    bool firstScreenShown_ = false;
    // Level starts seen; a sheet drawn is stamped with it.
    std::uint64_t levelStarts_ = 0;
};
