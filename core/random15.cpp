#include "core/random15.h"

#include <cstdlib>

int Random15() {
    // The ranges were tuned for a rand() of 0..32767; this C library's reaches RAND_MAX, so keep
    // the low 15 bits.
    return std::rand() & 0x7FFF;
}

float RandomBetween(float a, float b) {
    return static_cast<float>(Random15()) / 32767.0f * (b - a) + a;
}
