// The D3DX matrix helpers, single precision throughout.
#include "platform/gfx/d3dx_math.h"

#include <cmath>

namespace platform {

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    *out = D3DXMATRIX();
    out->_11 = out->_22 = out->_33 = out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    D3DXMatrixIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz) {
    D3DXMatrixIdentity(out);
    out->_11 = sx;
    out->_22 = sy;
    out->_33 = sz;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->_22 = c;
    out->_23 = s;
    out->_32 = -s;
    out->_33 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->_11 = c;
    out->_13 = -s;
    out->_31 = s;
    out->_33 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->_11 = c;
    out->_12 = s;
    out->_21 = -s;
    out->_22 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a->m[i][k] * b->m[k][j];
            r.m[i][j] = sum;
        }
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixTransformation2D(D3DXMATRIX* out, const D3DXVECTOR2* scalingCenter,
                                       float scalingRotation, const D3DXVECTOR2* scaling,
                                       const D3DXVECTOR2* rotationCenter, float rotation,
                                       const D3DXVECTOR2* translation) {
    const D3DXVECTOR2 sc = scalingCenter ? *scalingCenter : D3DXVECTOR2(0, 0);
    const D3DXVECTOR2 s = scaling ? *scaling : D3DXVECTOR2(1, 1);
    const D3DXVECTOR2 rc = rotationCenter ? *rotationCenter : D3DXVECTOR2(0, 0);
    const D3DXVECTOR2 t = translation ? *translation : D3DXVECTOR2(0, 0);

    // Msc^-1 * Msr^-1 * Ms * Msr * Msc * Mrc^-1 * Mr * Mrc * Mt
    D3DXMATRIX m, tmp;
    D3DXMatrixTranslation(&m, -sc.x, -sc.y, 0);
    D3DXMatrixRotationZ(&tmp, -scalingRotation);
    D3DXMatrixMultiply(&m, &m, &tmp);
    D3DXMatrixScaling(&tmp, s.x, s.y, 1);
    D3DXMatrixMultiply(&m, &m, &tmp);
    D3DXMatrixRotationZ(&tmp, scalingRotation);
    D3DXMatrixMultiply(&m, &m, &tmp);
    D3DXMatrixTranslation(&tmp, sc.x - rc.x, sc.y - rc.y, 0);
    D3DXMatrixMultiply(&m, &m, &tmp);
    D3DXMatrixRotationZ(&tmp, rotation);
    D3DXMatrixMultiply(&m, &m, &tmp);
    D3DXMatrixTranslation(&tmp, rc.x + t.x, rc.y + t.y, 0);
    D3DXMatrixMultiply(out, &m, &tmp);
    return out;
}

namespace {
float dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DXVECTOR3 cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
}  // namespace

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
    const float len = std::sqrt(dot(*v, *v));
    if (len == 0.0f) {
        *out = D3DXVECTOR3(0, 0, 0);
    } else {
        *out = D3DXVECTOR3(v->x / len, v->y / len, v->z / len);
    }
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    const float x = v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + m->_41;
    const float y = v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + m->_42;
    const float z = v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + m->_43;
    const float w = v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + m->_44;
    const float inv = w != 0.0f ? 1.0f / w : 1.0f;
    *out = D3DXVECTOR3(x * inv, y * inv, z * inv);
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
    D3DXVECTOR3 zaxis(at->x - eye->x, at->y - eye->y, at->z - eye->z);
    D3DXVec3Normalize(&zaxis, &zaxis);
    D3DXVECTOR3 xaxis = cross(*up, zaxis);
    D3DXVec3Normalize(&xaxis, &xaxis);
    const D3DXVECTOR3 yaxis = cross(zaxis, xaxis);
    D3DXMatrixIdentity(out);
    out->_11 = xaxis.x; out->_12 = yaxis.x; out->_13 = zaxis.x;
    out->_21 = xaxis.y; out->_22 = yaxis.y; out->_23 = zaxis.y;
    out->_31 = xaxis.z; out->_32 = yaxis.z; out->_33 = zaxis.z;
    out->_41 = -dot(xaxis, *eye);
    out->_42 = -dot(yaxis, *eye);
    out->_43 = -dot(zaxis, *eye);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovy, float aspect, float zn,
                                       float zf) {
    const float yScale = 1.0f / std::tan(fovy / 2.0f);
    const float xScale = yScale / aspect;
    *out = D3DXMATRIX();
    out->_11 = xScale;
    out->_22 = yScale;
    out->_33 = zf / (zf - zn);
    out->_34 = 1.0f;
    out->_43 = -zn * zf / (zf - zn);
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, float l, float r, float b, float t,
                                       float zn, float zf) {
    D3DXMatrixIdentity(out);
    out->_11 = 2.0f / (r - l);
    out->_22 = 2.0f / (t - b);
    out->_33 = 1.0f / (zf - zn);
    out->_41 = (l + r) / (l - r);
    out->_42 = (t + b) / (b - t);
    out->_43 = zn / (zn - zf);
    return out;
}

}  // namespace platform
