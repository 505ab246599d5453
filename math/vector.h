#pragma once
// Positions, directions and texture coordinates. Plain values: default construction leaves the
// components unset, and nothing guards against a zero length (callers test lengths against 1e-6).
#include <cmath>

struct YVector {
    float x, y, z;

    YVector() = default;
    YVector(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    YVector& Set(float x_, float y_, float z_) {
        x = x_;
        y = y_;
        z = z_;
        return *this;
    }
    void Copy(const YVector& o) { *this = o; }

    YVector operator+(const YVector& o) const { return {x + o.x, y + o.y, z + o.z}; }
    YVector operator-(const YVector& o) const { return {x - o.x, y - o.y, z - o.z}; }
    YVector operator*(float s) const { return {x * s, y * s, z * s}; }
    YVector Negate() const { return {-x, -y, -z}; }
    float Dot(const YVector& o) const { return x * o.x + y * o.y + z * o.z; }

    // Scales the vector to unit length in place and returns the length it had. A zero vector
    // comes out non-finite.
    float Normalize() {
        const float len = std::sqrt(x * x + y * y + z * z);
        const float inv = 1.0f / len;
        x *= inv;
        y *= inv;
        z *= inv;
        return len;
    }
};

// A texture-coordinate pair.
struct YVector2 {
    float u, v;

    YVector2() = default;
    YVector2(float u_, float v_) : u(u_), v(v_) {}
    YVector2(const YVector2&) = default;
    YVector2& operator=(const YVector2&) = default;
};

static_assert(sizeof(YVector) == 3 * sizeof(float));
static_assert(sizeof(YVector2) == 2 * sizeof(float));
