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
        return {false, "invalid stoi argument"};
    }
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        return {false, "stoi argument out of range"};
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
        return {false, "invalid stof argument"};
    }
    if (errno == ERANGE) {
        return {false, "stof argument out of range"};
    }
    if (!std::isfinite(value)) {
        return {false, "not a finite number"};
    }
    out = value;
    return {true, {}};
}
