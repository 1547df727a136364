// The SDL2 desktop window. Only this file and the other SDL back ends include SDL.
#include <SDL.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>

#include "platform/letterbox.h"
#include "platform/sdl/desktop_window.h"
#include "platform/sdl/gl_context.h"
#include "platform/sdl/key_map.h"
#include "platform/sdl/window_manager.h"
#include "platform/stb/ico_image.h"
#include "platform/window_event.h"

namespace platform {
namespace {

constexpr int kWindowedX = 300;
constexpr int kWindowedY = 100;
constexpr int kIconSize = 32;
// Windows reports one notch of the wheel as 120.
constexpr int kWheelNotch = 120;

class SdlWindow : public DesktopWindow {
public:
    ~SdlWindow() override {
        if (context_) {
            SDL_GL_DeleteContext(context_);
        }
        if (window_) {
            SDL_DestroyWindow(window_);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool Open(const std::string& iconPath) {
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::cerr << "Cannot start the video system: " << SDL_GetError() << '\n';
            return false;
        }
        if (!OnScreenDriver()) {
            return false;
        }
        RequestGameGLContext();
        // Opened where it will stay, covering the display, and made full screen before it is
        // shown: moving or resizing a shown window waits for the window manager's answer.
        SDL_Rect bounds{kWindowedX, kWindowedY, kBackBufferWidth, kBackBufferHeight};
        SDL_GetDisplayBounds(0, &bounds);
        window_ = SDL_CreateWindow("Vorl Game", bounds.x, bounds.y, bounds.w, bounds.h,
                                   SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
        if (!window_) {
            std::cerr << "Cannot create the game window: " << SDL_GetError() << '\n';
            return false;
        }
        windowManager_ = WindowManagerAnswers(window_);
        if (windowManager_) {
            SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
        SDL_ShowWindow(window_);
        context_ = CreateCurrentGLContext(window_);
        if (!context_) {
            std::cerr << "Cannot create an OpenGL 3.3 core context: " << SDL_GetError() << '\n';
            return false;
        }
        SetIcon(iconPath);
        fullscreen_ = true;
        SetVerticalSync(true);
        return true;
    }

    // When no display answers, SDL falls back by itself to drivers that draw nowhere, and the game
    // would run on unseen. Only a driver asked for by name (SDL_VIDEODRIVER) is taken as it is.
    static bool OnScreenDriver() {
        const char* chosen = SDL_GetCurrentVideoDriver();
        const std::string driver = chosen ? chosen : "";
        if (std::getenv("SDL_VIDEODRIVER") ||
            (driver != "offscreen" && driver != "dummy" && driver != "evdev")) {
            return true;
        }
        const char* display = std::getenv("DISPLAY");
        std::cerr << "No display answered (DISPLAY is " << (display ? display : "not set")
                  << "); SDL offered only its \"" << driver << "\" driver, which shows nothing\n";
        return false;
    }

    void PumpEvents(WindowEvents& events) override {
        SDL_Event native;
        // The close button of the only window arrives as a window close and then a quit: one
        // click, one close.
        bool closed = false;
        while (SDL_PollEvent(&native)) {
            if (IsFullscreenToggle(native)) {
                SetFullscreen(!fullscreen_);
                continue;
            }
            const bool close =
                native.type == SDL_QUIT ||
                (native.type == SDL_WINDOWEVENT && native.window.event == SDL_WINDOWEVENT_CLOSE);
            if (close && std::exchange(closed, true)) {
                continue;
            }
            DeliverEvent(Translate(native), &native, panels_, events);
        }
    }

    bool IsHidden() const override {
        return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) != 0;
    }
    void BringToFront() override { SDL_RaiseWindow(window_); }
    void SetPanelEvents(PanelEvents* panels) override { panels_ = panels; }
    DisplayPacing Pacing() const override { return pacing_; }

    // Adaptive sync first, plain sync where the driver refuses it, and no sync where it refuses
    // both; VORL_VSYNC=0 in the environment keeps it off whatever is asked.
    void SetVerticalSync(bool on) override {
        const char* forced = std::getenv("VORL_VSYNC");
        if (forced && std::string(forced) == "0") {
            on = false;
        }
        pacing_.sync = DisplayPacing::Sync::Off;
        if (on && SDL_GL_SetSwapInterval(-1) == 0) {
            pacing_.sync = DisplayPacing::Sync::Adaptive;
        } else if (on && SDL_GL_SetSwapInterval(1) == 0) {
            pacing_.sync = DisplayPacing::Sync::Vertical;
        } else {
            SDL_GL_SetSwapInterval(0);
        }
        ReadRefreshRate();
    }
    SDL_Window* NativeWindow() const override { return window_; }

    void SwapBuffers() override { SDL_GL_SwapWindow(window_); }
    int DrawableWidth() const override { return DrawableSize().x; }
    int DrawableHeight() const override { return DrawableSize().y; }

    bool IsFullscreen() const override { return fullscreen_; }
    void SetFullscreen(bool fullscreen) override {
        if (fullscreen) {
            // Cover the display first: with no window manager that is the whole of full screen.
            SDL_Rect bounds;
            if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &bounds) == 0) {
                SDL_SetWindowPosition(window_, bounds.x, bounds.y);
                SDL_SetWindowSize(window_, bounds.w, bounds.h);
            }
        }
        if (windowManager_ &&
            SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
            std::cerr << "Cannot switch the window mode: " << SDL_GetError() << '\n';
        }
        if (!fullscreen) {
            SDL_SetWindowSize(window_, kBackBufferWidth, kBackBufferHeight);
            SDL_SetWindowPosition(window_, kWindowedX, kWindowedY);
        }
        fullscreen_ = fullscreen;
        ReadRefreshRate();
    }
    int Width() const override { return WindowSize().x; }
    int Height() const override { return WindowSize().y; }

private:
    // The mode of the display the window stands on; a move to another display is seen at the next
    // mode switch or sync change.
    void ReadRefreshRate() {
        SDL_DisplayMode mode;
        const int display = SDL_GetWindowDisplayIndex(window_);
        pacing_.refreshRate =
            display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0
                ? mode.refresh_rate
                : 0.0;
    }

    SDL_Point DrawableSize() const {
        SDL_Point size{0, 0};
        SDL_GL_GetDrawableSize(window_, &size.x, &size.y);
        return size;
    }
    SDL_Point WindowSize() const {
        SDL_Point size{0, 0};
        SDL_GetWindowSize(window_, &size.x, &size.y);
        return size;
    }

    void SetIcon(const std::string& path) {
        IconImage icon;
        if (!LoadIcoFile(path, kIconSize, icon)) {
            return;
        }
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            icon.rgba.data(), icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_RGBA32);
        if (surface) {
            SDL_SetWindowIcon(window_, surface);
            SDL_FreeSurface(surface);
        }
    }

    static bool IsFullscreenToggle(const SDL_Event& e) {
        return e.type == SDL_KEYDOWN && !e.key.repeat && (e.key.keysym.mod & KMOD_ALT) &&
               (e.key.keysym.scancode == SDL_SCANCODE_RETURN ||
                e.key.keysym.scancode == SDL_SCANCODE_KP_ENTER);
    }

    void ToBackBuffer(int windowX, int windowY, int& x, int& y) const {
        WindowToBackBuffer(LetterboxRect(Width(), Height()), windowX, windowY, x, y);
    }

    WindowEvent Translate(const SDL_Event& e) const {
        WindowEvent event;
        switch (e.type) {
            case SDL_QUIT:
                event.kind = WindowEventKind::Close;
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                    event.kind = WindowEventKind::Close;
                }
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                event.kind = WindowEventKind::Key;
                event.virtualKey = VirtualKeyFromScancode(e.key.keysym.scancode);
                event.pressed = e.type == SDL_KEYDOWN;
                event.repeat = e.key.repeat != 0;
                break;
            case SDL_MOUSEMOTION:
                event.kind = WindowEventKind::MouseMove;
                ToBackBuffer(e.motion.x, e.motion.y, event.x, event.y);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) {
                    break;
                }
                event.kind = WindowEventKind::MouseButton;
                event.button =
                    e.button.button == SDL_BUTTON_LEFT ? MouseButton::Left : MouseButton::Right;
                event.pressed = e.type == SDL_MOUSEBUTTONDOWN;
                ToBackBuffer(e.button.x, e.button.y, event.x, event.y);
                break;
            case SDL_MOUSEWHEEL: {
                event.kind = WindowEventKind::Wheel;
                const int notches =
                    e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                event.wheel = notches * kWheelNotch;
                break;
            }
            default:
                break;
        }
        return event;
    }

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    PanelEvents* panels_ = nullptr;
    bool fullscreen_ = false;
    bool windowManager_ = true;
    DisplayPacing pacing_;
};

}  // namespace

std::unique_ptr<DesktopWindow> OpenDesktopWindow(const std::string& iconPath) {
    auto window = std::make_unique<SdlWindow>();
    if (!window->Open(iconPath)) {
        return nullptr;
    }
    return window;
}

}  // namespace platform
