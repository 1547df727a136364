// Telling the player something went wrong when there may be no console to read.
#pragma once

#include <string>

namespace platform {

// A message box with a warning icon; standard error when no display can show it.
void ShowWarningBox(const std::string& caption, const std::string& text);

}  // namespace platform
