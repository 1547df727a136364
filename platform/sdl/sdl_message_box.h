// The desktop's warning box (platform/message_box.h), which the desktop services install.
#pragma once

#include <string>

namespace platform {

void ShowSdlWarningBox(const std::string& caption, const std::string& text);

}  // namespace platform
