// Number conversion for data files, with the standard conversions' rules and messages: a whole
// number is base 10 (leading white space skipped, optional sign, digits, anything after the digits
// ignored); a real number follows the standard string-to-float rules. Failures come back as the
// standard messages ("invalid stoi argument", "stoi argument out of range", "invalid stof
// argument", "stof argument out of range") instead of exceptions. A real that is not finite
// (inf, nan) is refused too: no data value means it, and one would poison every sum it joins.
#pragma once

#include <string>

struct NumberResult {
    bool ok = false;
    std::string error;  // set when !ok
};

NumberResult ParseWhole(const std::string& text, int& out);
NumberResult ParseReal(const std::string& text, float& out);
