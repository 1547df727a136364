#include "core/vector.h"

#include <iomanip>
#include <ostream>

void PrintVector(std::ostream& out, const Vector2D& v) {
    const auto flags = out.flags();
    const auto precision = out.precision();
    out << "( " << std::setprecision(6) << std::setw(10) << v.x << "," << std::setw(10) << v.y
        << ")" << '\n';
    out.flags(flags);
    out.precision(precision);
}
