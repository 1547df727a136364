// Small value types for positions, sizes and colours. World units are pixels with +y up.
// Dot products are computed in double precision and returned as float, so that a separating-axis
// test on large coordinates does not lose the sign of a small overlap.
#pragma once

#include <cmath>
#include <iosfwd>

struct Vector2D {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vector2D() = default;
    constexpr Vector2D(float x_, float y_) : x(x_), y(y_) {}

    constexpr Vector2D operator+(const Vector2D& o) const { return {x + o.x, y + o.y}; }
    constexpr Vector2D operator-(const Vector2D& o) const { return {x - o.x, y - o.y}; }
    constexpr Vector2D operator-() const { return {-x, -y}; }
    constexpr Vector2D operator*(float s) const { return {x * s, y * s}; }
    constexpr Vector2D operator/(float s) const { return {x / s, y / s}; }
    Vector2D& operator+=(const Vector2D& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr bool operator==(const Vector2D& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Vector2D& o) const { return !(*this == o); }

    float Dot(const Vector2D& o) const {
        return static_cast<float>(static_cast<double>(x) * o.x + static_cast<double>(y) * o.y);
    }
    float SquaredLength() const { return x * x + y * y; }
    float Length() const { return std::sqrt(SquaredLength()); }
    // A zero vector stays zero rather than becoming NaN.
    Vector2D Normalized() const {
        const float length = Length();
        return length == 0.0f ? Vector2D{} : Vector2D{x / length, y / length};
    }
};

inline Vector2D operator*(float s, const Vector2D& v) {
    return v * s;
}

struct Vector3D {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    constexpr bool operator==(const Vector3D&) const = default;
};

struct Vector4D {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
    constexpr bool operator==(const Vector4D&) const = default;
};

// The human-readable form used by component Print: "( x,y)" with each number at precision 6 in a
// field 10 characters wide, then a line end.
void PrintVector(std::ostream& out, const Vector2D& v);
