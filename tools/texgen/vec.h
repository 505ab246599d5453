#pragma once
// Small value types for the picture generators: 2- and 3-vectors, linear colours and the usual
// shaping helpers. Colours are linear floats; 1 is full brightness, and values above 1 are allowed
// until a picture is turned into bytes.
#include <algorithm>
#include <cmath>

namespace texgen {

constexpr float PI = 3.14159265358979f;

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline float SmoothStep(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}
// Distance from x to the nearest whole multiple of `period` (for wrapping coordinates).
inline float WrapDelta(float d, float period) { return d - period * std::round(d / period); }

struct Vec2 {
    float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }

struct Vec3 {
    float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Normalize(Vec3 a) {
    const float l = Length(a);
    return l > 0 ? a * (1.0f / l) : Vec3{0, 0, 1};
}
// Unit direction from an azimuth (radians, 0 = +y, growing toward +x) and an elevation above the
// horizon (radians); z is up.
inline Vec3 FromAngles(float azimuth, float elevation) {
    return {std::sin(azimuth) * std::cos(elevation), std::cos(azimuth) * std::cos(elevation), std::sin(elevation)};
}

struct Rgb {
    float r = 0, g = 0, b = 0;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a + (b - a) * t; }
// From a hex triple such as 0xff8000.
constexpr Rgb Hex(unsigned v) {
    return {static_cast<float>((v >> 16) & 255) / 255.0f, static_cast<float>((v >> 8) & 255) / 255.0f,
            static_cast<float>(v & 255) / 255.0f};
}

// Colour ramp through evenly spaced stops; t in 0..1 (clamped).
template <std::size_t N>
Rgb Ramp(const Rgb (&stops)[N], float t) {
    const float f = Clamp01(t) * static_cast<float>(N - 1);
    const std::size_t i = std::min(static_cast<std::size_t>(f), N - 2);
    return Mix(stops[i], stops[i + 1], f - static_cast<float>(i));
}

} // namespace texgen
