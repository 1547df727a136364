// The floor under the game's start-up: a bare program that opens the game's 1600 x 900 window with
// an OpenGL 3.3 core context, clears it to the splash's backdrop colour and shows it, then waits
// to be closed. tools/startup_race.sh times both from launch to that colour on the screen.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("bare window", 0, 0, 1600, 900, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        return 1;
    }
    glClearColor(41 / 255.0f, 33 / 255.0f, 48 / 255.0f, 1.0f);
    for (bool open = true; open;) {
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        SDL_Event event;
        while (SDL_WaitEventTimeout(&event, 100)) {
            open = open && event.type != SDL_QUIT;
        }
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
