// Whether the process has a standard input to read the debug console from.
#pragma once

namespace platform {

// False when file descriptor 0 is closed (a game started with no standard input at all).
bool StandardInputIsOpen();

}  // namespace platform
