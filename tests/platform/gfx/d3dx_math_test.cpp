// D3DX matrix helpers against values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gfx/d3dx_math.h"

using namespace platform;

namespace {

void expectMatrix(const D3DXMATRIX& m, const float (&want)[16], float tol = 1e-6f) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.m[i / 4][i % 4], want[i], tol) << "element " << (i / 4 + 1) << (i % 4 + 1);
}

D3DXVECTOR3 apply(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}

TEST(D3DXMatrix, TranslationSitsInTheFourthRow) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 1.5f, -2.0f, 7.0f);
    expectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1.5f, -2.0f, 7.0f, 1});
    const D3DXVECTOR3 p = apply({1, 1, 1}, m);
    EXPECT_FLOAT_EQ(p.x, 2.5f);
    EXPECT_FLOAT_EQ(p.y, -1.0f);
    EXPECT_FLOAT_EQ(p.z, 8.0f);
}

TEST(D3DXMatrix, RotationsTurnLeftHanded) {
    // A quarter turn about z takes +x to +y; about y takes +z to +x; about x
    // takes +y to +z (clockwise seen from the positive axis, left-handed).
    const float q = 1.5707963f;
    D3DXMATRIX m;
    D3DXMatrixRotationZ(&m, q);
    D3DXVECTOR3 p = apply({1, 0, 0}, m);
    EXPECT_NEAR(p.x, 0, 1e-6);
    EXPECT_NEAR(p.y, 1, 1e-6);
    D3DXMatrixRotationY(&m, q);
    p = apply({0, 0, 1}, m);
    EXPECT_NEAR(p.x, 1, 1e-6);
    EXPECT_NEAR(p.z, 0, 1e-6);
    D3DXMatrixRotationX(&m, q);
    p = apply({0, 1, 0}, m);
    EXPECT_NEAR(p.y, 0, 1e-6);
    EXPECT_NEAR(p.z, 1, 1e-6);

    // 30 degrees about y: cos 0.8660254, sin 0.5 in the published layout.
    D3DXMatrixRotationY(&m, 30.0f * 0.017453292f);
    expectMatrix(m, {0.8660254f, 0, -0.5f, 0, 0, 1, 0, 0, 0.5f, 0, 0.8660254f, 0, 0, 0, 0, 1});
}

TEST(D3DXMatrix, MultiplyAppliesTheLeftMatrixFirstAndMayAlias) {
    D3DXMATRIX rot, move, m;
    D3DXMatrixRotationZ(&rot, 1.5707963f);
    D3DXMatrixTranslation(&move, 10, 0, 0);
    D3DXMatrixMultiply(&m, &rot, &move);  // turn, then move
    D3DXVECTOR3 p = apply({1, 0, 0}, m);
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, 1, 1e-5);
    D3DXMatrixMultiply(&rot, &rot, &move);  // out aliases a
    p = apply({1, 0, 0}, rot);
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, 1, 1e-5);
}

TEST(D3DXMatrix, Transformation2DScalesThenTranslates) {
    D3DXMATRIX m;
    const D3DXVECTOR2 scale(0.8f, 0.8f), move(60, 440);
    D3DXMatrixTransformation2D(&m, nullptr, 0, &scale, nullptr, 0, &move);
    expectMatrix(m, {0.8f, 0, 0, 0, 0, 0.8f, 0, 0, 0, 0, 1, 0, 60, 440, 0, 1});
    // Only a translation.
    D3DXMatrixTransformation2D(&m, nullptr, 0, nullptr, nullptr, 0, &move);
    expectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 60, 440, 0, 1});
    // Scaling about a centre keeps the centre in place; rotation about a
    // centre likewise.
    const D3DXVECTOR2 centre(10, 20), twice(2, 2);
    D3DXMatrixTransformation2D(&m, &centre, 0, &twice, nullptr, 0, nullptr);
    D3DXVECTOR3 p = apply({10, 20, 0}, m);
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, 20, 1e-5);
    D3DXMatrixTransformation2D(&m, nullptr, 0, nullptr, &centre, 1.5707963f, nullptr);
    p = apply({11, 20, 0}, m);
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, 21, 1e-5);
}

TEST(D3DXMatrix, LookAtOfTheFirstCamera) {
    // Eye (0, 7, -30) looking at the origin: z axis (0, -7, 30)/30.8058;
    // x axis (1, 0, 0); y axis = z cross x = (0, 30, 7)/30.8058.
    D3DXMATRIX m;
    const D3DXVECTOR3 eye(0, 7, -30), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    const float len = std::sqrt(49.0f + 900.0f);
    const float zy = -7 / len, zz = 30 / len, yy = 30 / len, yz = 7 / len;
    expectMatrix(m, {1, 0, 0, 0, 0, yy, zy, 0, 0, yz, zz, 0, 0, -(7 * yy - 30 * yz),
                     -(7 * zy - 30 * zz), 1},
                 1e-5f);
    // The eye lands on the origin, the target straight ahead at its distance.
    D3DXVECTOR3 p = apply(eye, m);
    EXPECT_NEAR(p.x, 0, 1e-5);
    EXPECT_NEAR(p.y, 0, 1e-5);
    EXPECT_NEAR(p.z, 0, 1e-5);
    p = apply(at, m);
    EXPECT_NEAR(p.y, 0, 1e-5);
    EXPECT_NEAR(p.z, len, 1e-4);
}

TEST(D3DXMatrix, PerspectiveMapsNearAndFarOntoZeroAndOne) {
    D3DXMATRIX m;
    D3DXMatrixPerspectiveFovLH(&m, 0.785398f, 800.0f / 600.0f, 1.0f, 1000.0f);
    const float ys = 1.0f / std::tan(0.785398f / 2);  // 2.4142137
    EXPECT_NEAR(m._22, 2.4142137f, 1e-5);
    EXPECT_NEAR(m._11, ys / (4.0f / 3.0f), 1e-5);
    EXPECT_NEAR(m._33, 1000.0f / 999.0f, 1e-6);
    EXPECT_NEAR(m._43, -1000.0f / 999.0f, 1e-6);
    EXPECT_EQ(m._34, 1.0f);
    EXPECT_EQ(m._44, 0.0f);
    EXPECT_NEAR(apply({0, 0, 1}, m).z, 0.0f, 1e-6);
    EXPECT_NEAR(apply({0, 0, 1000}, m).z, 1.0f, 1e-6);
    // A point on the top edge of the view at depth 10 reaches y = 1.
    EXPECT_NEAR(apply({0, 10 / ys, 10}, m).y, 1.0f, 1e-5);
}

TEST(D3DXVector, NormalizeGivesUnitLengthAndKeepsZero) {
    D3DXVECTOR3 v(0, -0.5f, 1), n;
    D3DXVec3Normalize(&n, &v);
    EXPECT_NEAR(n.y, -0.4472136f, 1e-6);
    EXPECT_NEAR(n.z, 0.8944272f, 1e-6);
    EXPECT_EQ(n.x, 0.0f);
    const D3DXVECTOR3 zero;
    D3DXVec3Normalize(&n, &zero);
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, 0.0f);
    D3DXVec3Normalize(&v, &v);  // in place
    EXPECT_NEAR(v.z, 0.8944272f, 1e-6);
}

TEST(D3DXMatrix, OrthoMapsThePixelSpaceWithYDown) {
    D3DXMATRIX m;
    D3DXMatrixOrthoOffCenterLH(&m, 0, 800, 600, 0, 0, 1);
    D3DXVECTOR3 p = apply({0, 0, 0}, m);
    EXPECT_NEAR(p.x, -1, 1e-6);
    EXPECT_NEAR(p.y, 1, 1e-6);
    p = apply({800, 600, 1}, m);
    EXPECT_NEAR(p.x, 1, 1e-6);
    EXPECT_NEAR(p.y, -1, 1e-6);
    EXPECT_NEAR(p.z, 1, 1e-6);
}

}  // namespace
