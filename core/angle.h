// The game's pi. Rotations are stored in whole degrees and converted with pi taken as 3.141593f;
// levels were laid out with that constant and its rounding, so it is not the library's pi.
#pragma once

inline constexpr float kPi = 3.141593f;
