#include "math/matrix.h"

#include <cmath>

void YMatrix::MatrixSetTranslation(const YVector& t) {
    *this = YMatrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, t.x, t.y, t.z, 1}};
}

void YMatrix::SetRotationZ(float degrees) {
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a);
    *this = YMatrix{{c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

void YMatrix::SetRotationX(float degrees) {
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a);
    *this = YMatrix{{1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}};
}

void YMatrix::SetRotationAxis(float degrees, const YVector* axis) {
    YVector n = *axis;
    n.Normalize();
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a), t = 1.0f - c;
    const float x = n.x, y = n.y, z = n.z;
    *this = YMatrix{{t * x * x + c, t * x * y + s * z, t * x * z - s * y, 0, t * x * y - s * z, t * y * y + c,
                     t * y * z + s * x, 0, t * x * z + s * y, t * y * z - s * x, t * z * z + c, 0, 0, 0, 0, 1}};
}

YMatrix YMatrix::operator*(const YMatrix& other) const {
    YMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += double(other.m[4 * i + k]) * m[4 * k + j];
            r.m[4 * i + j] = float(sum);
        }
    return r;
}

YMatrix YMatrix::GetRotation() const {
    return YMatrix{{m[0], m[1], m[2], 0, m[4], m[5], m[6], 0, m[8], m[9], m[10], 0, 0, 0, 0, 1}};
}

float YMatrix::Determinant3() const {
    return m[5] * m[0] * m[10] + m[9] * m[4] * m[2] + m[6] * m[1] * m[8] - m[5] * m[2] * m[8] - m[1] * m[4] * m[10] -
           m[9] * m[6] * m[0];
}

YMatrix YMatrix::InverseAffine() const {
    const float d = Determinant3();
    YMatrix r;
    r.m[0] = (m[5] * m[10] - m[9] * m[6]) / d;
    r.m[1] = -(m[1] * m[10] - m[9] * m[2]) / d;
    r.m[2] = (m[6] * m[1] - m[5] * m[2]) / d;
    r.m[3] = 0.0f;
    r.m[4] = -(m[4] * m[10] - m[6] * m[8]) / d;
    r.m[5] = (m[0] * m[10] - m[2] * m[8]) / d;
    r.m[6] = -(m[6] * m[0] - m[4] * m[2]) / d;
    r.m[7] = 0.0f;
    r.m[8] = (m[9] * m[4] - m[5] * m[8]) / d;
    r.m[9] = -(m[9] * m[0] - m[1] * m[8]) / d;
    r.m[10] = (m[5] * m[0] - m[1] * m[4]) / d;
    r.m[11] = 0.0f;
    r.m[12] = -(m[12] * r.m[0] + m[13] * r.m[4] + m[14] * r.m[8]);
    r.m[13] = -(m[12] * r.m[1] + m[13] * r.m[5] + m[14] * r.m[9]);
    r.m[14] = -(m[12] * r.m[2] + m[13] * r.m[6] + m[14] * r.m[10]);
    r.m[15] = 1.0f;
    return r;
}

void YMatrix3::SetRotationX(float degrees) {
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a);
    *this = YMatrix3{{1, 0, 0, 0, c, s, 0, -s, c}};
}

void YMatrix3::SetRotationZ(float degrees) {
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a);
    *this = YMatrix3{{c, s, 0, -s, c, 0, 0, 0, 1}};
}

YMatrix3 YMatrix3::operator*(const YMatrix3& other) const {
    YMatrix3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k) sum += double(other.m[3 * i + k]) * m[3 * k + j];
            r.m[3 * i + j] = float(sum);
        }
    return r;
}
