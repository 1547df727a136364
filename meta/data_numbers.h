// Number conversion for data files, with the standard conversions' rules and messages: a whole
// number is base 10 (leading white space skipped, optional sign, digits, anything after the digits
// ignored); a real number follows the standard string-to-float rules. Failures come back as a
// phrase in plain words ("not a number", "not a whole number", out of range with the range)
// instead of the standard conversions' exceptions. A real that is not finite (inf, nan) is
// refused too: no data value means it, and one would poison every sum it joins.
#pragma once

#include <string>

struct NumberResult {
    bool ok = false;
    std::string error;  // set when !ok
};

NumberResult ParseWhole(const std::string& text, int& out);
NumberResult ParseReal(const std::string& text, float& out);
