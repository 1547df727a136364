// Warning boxes through SDL; when no display can show one (headless runs, no X server) the text
// goes to standard error instead, so a failure is never silent. Automated runs on a display set
// VORL_NO_MESSAGE_BOXES so a box never waits for a click that will not come.
#include <SDL.h>

#include <cstdlib>
#include <iostream>

#include "platform/sdl/sdl_message_box.h"

namespace platform {

void ShowSdlWarningBox(const std::string& caption, const std::string& text) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool hasDisplay = (display && *display) || (wayland && *wayland);
    if (!hasDisplay || std::getenv("VORL_NO_MESSAGE_BOXES") ||
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption.c_str(), text.c_str(), nullptr) !=
            0) {
        std::cerr << caption << '\n' << text << '\n';
    }
}

}  // namespace platform
