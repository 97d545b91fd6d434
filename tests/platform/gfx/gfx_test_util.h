// Helpers of the graphics tests: scratch files, test pictures, quads, and
// devices on either backend.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx/d3dx9.h"
#include "platform/gfx/file_read.h"
#include "platform/gfx/gfx_config.h"
#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/png_image.h"
#include "platform/gfx/recording_backend.h"

namespace gfxtest {

using namespace platform;

// A file in a folder of this test process's own: ctest runs the cases of one
// program as parallel processes, which must not share their scratch files.
// The folder goes away when the process ends.
inline std::string scratchPath(const std::string& name) {
    struct Folder {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("tervo_gfx_tests-" + std::to_string(static_cast<long>(getpid())));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return (folder.path / name).string();
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A w x h RGBA picture filled with one colour.
inline std::vector<std::uint8_t> solid(int w, int h, std::uint8_t r, std::uint8_t g,
                                       std::uint8_t b, std::uint8_t a = 255) {
    std::vector<std::uint8_t> p(std::size_t(w) * h * 4);
    for (std::size_t i = 0; i < p.size(); i += 4) p[i] = r, p[i + 1] = g, p[i + 2] = b, p[i + 3] = a;
    return p;
}

inline void setTexel(std::vector<std::uint8_t>& p, int w, int x, int y, std::uint8_t r,
                     std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
    std::uint8_t* q = &p[(std::size_t(y) * w + x) * 4];
    q[0] = r, q[1] = g, q[2] = b, q[3] = a;
}

struct Vertex {  // position, diffuse, one coordinate pair: 24 bytes
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kQuadFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

inline IDirect3DVertexBuffer9* makeBuffer(IDirect3DDevice9* d, const std::vector<Vertex>& verts) {
    IDirect3DVertexBuffer9* vb = nullptr;
    const UINT bytes = UINT(verts.size() * sizeof(Vertex));
    EXPECT_EQ(d->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, kQuadFvf, D3DPOOL_MANAGED, &vb,
                                    nullptr),
              S_OK);
    void* data = nullptr;
    EXPECT_EQ(vb->Lock(0, 0, &data, 0), S_OK);
    std::memcpy(data, verts.data(), bytes);
    EXPECT_EQ(vb->Unlock(), S_OK);
    return vb;
}

// A square quad in the x-y plane, in strip order, facing -z (clockwise seen
// from the camera at the origin looking along +z).
inline std::vector<Vertex> square(float cx, float cy, float z, float half, D3DCOLOR c = 0xFFFFFFFF) {
    return {{cx - half, cy + half, z, c, 0, 0},
            {cx + half, cy + half, z, c, 1, 0},
            {cx - half, cy - half, z, c, 0, 1},
            {cx + half, cy - half, z, c, 1, 1}};
}

inline void drawStrip(IDirect3DDevice9* d, IDirect3DVertexBuffer9* vb) {
    d->SetStreamSource(0, vb, 0, sizeof(Vertex));
    d->SetFVF(kQuadFvf);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), S_OK);
}

// A device on the GL backend, off screen; nullptr (and the test skipped)
// when this machine has no OpenGL 3.3.
inline IDirect3DDevice9* glDevice() {
    std::string error;
    auto backend = gfx::GlBackend::create(gfx::GlDeviceKind::Any, error);
    if (!backend) return nullptr;
    return new IDirect3DDevice9(std::move(backend));
}

inline IDirect3DDevice9* recordingDevice() {
    auto* d = new IDirect3DDevice9(gfx::createRecordingBackend());
    d->log().setEnabled(true);
    return d;
}

// Camera at the origin looking along +z with the game's projection.
inline void lookForward(IDirect3DDevice9* d) {
    D3DXMATRIX view, proj;
    D3DXMatrixIdentity(&view);
    D3DXMatrixPerspectiveFovLH(&proj, 0.785398f, 800.0f / 600.0f, 1.0f, 1000.0f);
    d->SetTransform(D3DTS_VIEW, &view);
    d->SetTransform(D3DTS_PROJECTION, &proj);
}

struct Picture {
    std::vector<std::uint8_t> rgba;
    struct Px {
        int r, g, b;
    };
    Px at(int x, int y) const {
        const std::uint8_t* p = &rgba[(std::size_t(y) * 800 + x) * 4];
        return {p[0], p[1], p[2]};
    }
};

inline Picture capture(IDirect3DDevice9* d) { return {d->backend().readPixels()}; }

}  // namespace gfxtest

#define EXPECT_PIXEL_NEAR(px, R, G, B, tol)  \
    do {                                    \
        const auto p_ = (px);               \
        EXPECT_NEAR(p_.r, (R), (tol));      \
        EXPECT_NEAR(p_.g, (G), (tol));      \
        EXPECT_NEAR(p_.b, (B), (tol));      \
    } while (0)
