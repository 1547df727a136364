// The game's random numbers: 15-bit draws from the C library's rand(), as the particle ranges and
// gameplay's chances were tuned for. Seeded (or not) by whoever calls srand(); headless runs that
// must repeat seed it themselves.
#pragma once

// 0..32767 from rand(), whatever the C library's RAND_MAX.
int Random15();
// A value in [a, b]: Random15() / 32767 x (b - a) + a.
float RandomBetween(float a, float b);
