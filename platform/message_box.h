// Telling the player something went wrong when there may be no console to read.
#pragma once

#include <string>

namespace platform {

// A message box with a warning icon; standard error when no display can show it (and always in
// a program without the desktop platform).
void ShowWarningBox(const std::string& caption, const std::string& text);

// The desktop services install their box here; an empty one returns to standard error.
using WarningBox = void (*)(const std::string& caption, const std::string& text);
void UseWarningBox(WarningBox box);

}  // namespace platform
