// 3 × 3 matrices and the one rotation the library needs.
#pragma once

#include "astro/vector3.h"

namespace toravel {

// Element (i, j) in row i, column j, stored row after row; all zeros when new.
struct Matrix3 {
    double m[3][3] = {{0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}};

    double& operator()(int row, int column) { return m[row][column]; }
    double operator()(int row, int column) const { return m[row][column]; }
};

// Turns the coordinate frame (not the vector) by +a about the x axis:
// x′ = x, y′ = cos a·y + sin a·z, z′ = −sin a·y + cos a·z. Ecliptic
// coordinates become equatorial with RotationAboutX(−ε).
Matrix3 RotationAboutX(double angle);

// m·v from the Cartesian parts of v; the result's spherical cache is invalid.
Vector3 MatrixTimesVector(const Matrix3& m, const Vector3& v);

} // namespace toravel
