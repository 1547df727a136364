// The game's screen: a fixed 1600 x 900 back buffer, whatever the window's size. The default
// camera looks at its centre, so world (0, 0) is drawn at pixel (800, 450); y grows upward in the
// world and downward on the screen.
#pragma once

namespace Screen {
inline constexpr int kWidth = 1600;
inline constexpr int kHeight = 900;
inline constexpr float kCentreX = kWidth / 2.0f;
inline constexpr float kCentreY = kHeight / 2.0f;
}  // namespace Screen
