#include "editor/editor_matrix.h"

#include <cmath>

YMatrix MatrixDiagonal(float v) { return YMatrix{{v, 0, 0, 0, 0, v, 0, 0, 0, 0, v, 0, 0, 0, 0, v}}; }

YMatrix MatrixRotationXDeg(float degrees) {
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a);
    return YMatrix{{1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}};
}

YMatrix MatrixRotationYDeg(float degrees) {
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a);
    return YMatrix{{c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1}};
}

YMatrix MatrixRotationZDeg(float degrees) {
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a);
    return YMatrix{{c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}
