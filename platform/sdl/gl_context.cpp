#include "platform/sdl/gl_context.h"

namespace platform {

void RequestGameGLContext() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
}

SDL_GLContext CreateCurrentGLContext(SDL_Window* window) {
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context) {
        SDL_GL_MakeCurrent(window, context);
        SDL_GL_SetSwapInterval(0);
    }
    return context;
}

}  // namespace platform
