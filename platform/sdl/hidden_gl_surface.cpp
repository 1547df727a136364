#include "platform/sdl/hidden_gl_surface.h"

#include <SDL.h>

#include "platform/sdl/gl_context.h"

namespace platform {
namespace {

class HiddenGLSurface : public GLSurface {
public:
    HiddenGLSurface(SDL_Window* window, SDL_GLContext context, int width, int height)
        : window_(window), context_(context), width_(width), height_(height) {}
    ~HiddenGLSurface() override {
        SDL_GL_DeleteContext(context_);
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    void SwapBuffers() override { SDL_GL_SwapWindow(window_); }
    int DrawableWidth() const override { return width_; }
    int DrawableHeight() const override { return height_; }

private:
    SDL_Window* window_;
    SDL_GLContext context_;
    int width_;
    int height_;
};

}  // namespace

std::unique_ptr<GLSurface> MakeHiddenGLSurface(int width, int height, std::string* error) {
    auto fail = [error](const char* what) -> std::unique_ptr<GLSurface> {
        if (error) {
            *error = std::string(what) + ": " + SDL_GetError();
        }
        return nullptr;
    };
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return fail("SDL video");
    }
    RequestGameGLContext();
    SDL_Window* window =
        SDL_CreateWindow("vorl offscreen", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                         height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return fail("window");
    }
    SDL_GLContext context = CreateCurrentGLContext(window);
    if (!context) {
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return fail("OpenGL 3.3 core context");
    }
    return std::make_unique<HiddenGLSurface>(window, context, width, height);
}

}  // namespace platform
