// float_matrix.cpp: products, rigid inverses and quaternion matrices, summed in a fixed order.
#include "assets/float_matrix.h"

#include <cstring>

void quaternionToMatrix(float w, float x, float y, float z, FloatMatrix& m) {
    m.fill(0.0f);
    m[0] = 1.0f - 2.0f * y * y - 2.0f * z * z;
    m[1] = 2.0f * x * y - 2.0f * w * z;
    m[2] = 2.0f * x * z + 2.0f * w * y;
    m[4] = 2.0f * x * y + 2.0f * w * z;
    m[5] = 1.0f - 2.0f * x * x - 2.0f * z * z;
    m[6] = 2.0f * y * z - 2.0f * w * x;
    m[8] = 2.0f * x * z - 2.0f * w * y;
    m[9] = 2.0f * y * z + 2.0f * w * x;
    m[10] = 1.0f - 2.0f * x * x - 2.0f * y * y;
    m[15] = 1.0f;
}

void multiplyMatrices(const FloatMatrix& a, const FloatMatrix& b, FloatMatrix& out) {
    FloatMatrix product;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            product[4 * r + c] = a[4 * r] * b[c] + a[4 * r + 1] * b[4 + c] +
                                 a[4 * r + 2] * b[8 + c] + a[4 * r + 3] * b[12 + c];
    out = product;
}

void multiplyInPlace(FloatMatrix& a, const FloatMatrix& b) {
    multiplyMatrices(a, b, a);
}

void rigidInverseInPlace(FloatMatrix& m) {
    for (int r = 0; r < 3; ++r)
        for (int c = r + 1; c < 3; ++c) {
            const float t = m[4 * r + c];
            m[4 * r + c] = m[4 * c + r];
            m[4 * c + r] = t;
        }
    const Vec3F t = matrixRow3(m);
    for (int i = 0; i < 3; ++i)
        m[12 + i] = -(t.x * m[i] + t.y * m[4 + i] + t.z * m[8 + i]);
}

Vec3F matrixRow3(const FloatMatrix& m) {
    return {m[12], m[13], m[14]};
}

void setMatrixRow3(FloatMatrix& m, const Vec3F& v) {
    m[12] = v.x;
    m[13] = v.y;
    m[14] = v.z;
}

void pointTimesMatrix(const Vec3F& p, const FloatMatrix& m, Vec3F& out) {
    transformPointF(m.data(), p, out);
}
