// float_matrix.h: the single-precision matrix operations of the animation bake.
#pragma once

#include "assets/model.h"
#include "core/fixed_point.h"

// Element 4r + c is row r, column c; a point is a row vector multiplied from the left, so the
// translation is row 3. In the renderer's column-major terms, product(a, b) here is b x a there.

// The rotation of the quaternion as stored (not normalised); every other element 0, element 15 1.
// Applied to row vectors it turns by the conjugate of the quaternion.
void quaternionToMatrix(float w, float x, float y, float z, FloatMatrix& out);
// out = a x b, each element summed over k = 0..3 left to right; out may be a or b.
void multiplyMatrices(const FloatMatrix& a, const FloatMatrix& b, FloatMatrix& out);
// a = a x b.
void multiplyInPlace(FloatMatrix& a, const FloatMatrix& b);
// Inverse of a rotation-and-translation matrix: transposed rotation, translation -t x R'.
void rigidInverseInPlace(FloatMatrix& m);
Vec3F matrixRow3(const FloatMatrix& m);
void setMatrixRow3(FloatMatrix& m, const Vec3F& v);
// p x m with the sums in the order of the renderer's float point transform.
void pointTimesMatrix(const Vec3F& p, const FloatMatrix& m, Vec3F& out);
