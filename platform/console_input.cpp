#include "platform/console_input.h"

#include <fcntl.h>

namespace platform {

bool StandardInputIsOpen() {
    return fcntl(0, F_GETFD) != -1;
}

}  // namespace platform
