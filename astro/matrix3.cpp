#include "astro/matrix3.h"

#include <cmath>

namespace toravel {

Matrix3 RotationAboutX(double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    Matrix3 r;
    r(0, 0) = 1.0;
    r(1, 1) = c;
    r(1, 2) = s;
    r(2, 1) = -s;
    r(2, 2) = c;
    return r;
}

Vector3 MatrixTimesVector(const Matrix3& m, const Vector3& v) {
    double w[3];
    for (int i = 0; i < 3; ++i) {
        double sum = 0.0;
        sum += m(i, 0) * v.x;
        sum += m(i, 1) * v.y;
        sum += m(i, 2) * v.z;
        w[i] = sum;
    }
    return Vector3(w[0], w[1], w[2]);
}

} // namespace toravel
