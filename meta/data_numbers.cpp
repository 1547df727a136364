#include "meta/data_numbers.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

NumberResult ParseWhole(const std::string& text, int& out) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin) {
        return {false, "not a whole number"};
    }
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        return {false, "outside the whole numbers -2147483648 to 2147483647"};
    }
    out = static_cast<int>(value);
    return {true, {}};
}

NumberResult ParseReal(const std::string& text, float& out) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(begin, &end);
    if (end == begin) {
        return {false, "not a number"};
    }
    if (errno == ERANGE) {
        return {false, "too large (or too small) for a real number, which ends near 3.4e38"};
    }
    if (!std::isfinite(value)) {
        return {false, "not a finite number"};
    }
    out = value;
    return {true, {}};
}
