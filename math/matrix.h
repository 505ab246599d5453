#pragma once
// Transforms as the renderer takes them: row-major, points are row vectors multiplied on the left
// (p' = p x M), rows 0-2 are the images of the x, y and z axes and row 3 (elements 12-14) is the
// translation. Angles are in degrees. A * B is B x A: B applies first, then A.
// Default construction leaves the elements unset; nothing guards against a zero determinant.
#include "math/vector.h"

struct YMatrix {
    float m[16];

    void Copy(const YMatrix& o) { *this = o; }
    // The identity with translation t.
    void MatrixSetTranslation(const YVector& t);
    // Rotation about z: a positive angle turns the x axis towards +y.
    void SetRotationZ(float degrees);
    // Rotation about x: a positive angle turns the y axis towards +z.
    void SetRotationX(float degrees);
    // Rotation about `axis` (normalised here, so any non-zero length will do), with the same sense
    // as the rotations about x and z for the positive coordinate axes.
    void SetRotationAxis(float degrees, const YVector* axis);

    // other x this: a point is transformed by `other` first, then by this.
    YMatrix operator*(const YMatrix& other) const;

    YVector TransformPoint(const YVector& p) const {
        return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
    }

    // The 3x3 part alone, without translation.
    YMatrix GetRotation() const;
    // Determinant of the 3x3 part.
    float Determinant3() const;
    // Inverse of an affine matrix (elements 3, 7, 11, 15 are not read).
    YMatrix InverseAffine() const;
};

struct YMatrix3 {
    float m[9];

    // Rotation about x: a positive angle turns the y axis towards +z.
    void SetRotationX(float degrees);
    // Rotation about z: a positive angle turns the x axis towards +y.
    void SetRotationZ(float degrees);

    // other x this, the same order as YMatrix::operator*.
    YMatrix3 operator*(const YMatrix3& other) const;
};

// Degrees to radians as the game computes it, in single precision.
inline float DegreesToRadians(float degrees) { return degrees * 3.1415927f * 0.0055555557f; }
