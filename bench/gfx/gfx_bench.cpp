// The busy-scene benchmark: a frame as heavy as the game's busiest (the
// corridor, 300 mesh subsets, 20 additive explosions, 40 HUD sprites),
// rendered off screen at 800 x 600 on the GL backend and on the recording
// backend; prints the median and 90th-percentile frame times and the draw
// calls per frame.
//   bench_gfx [--frames N] [--picture FILE.png]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/gfx/d3dx9.h"
#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/png_image.h"
#include "platform/gfx/recording_backend.h"
#include "platform/headless/headless_backend.h"

using namespace platform;

namespace {

struct Vertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

std::string scratch(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "tervo_gfx_bench";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

std::string checkerPng(const std::string& name, int size, int cells, std::uint8_t tint) {
    std::vector<std::uint8_t> p(std::size_t(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool on = ((x * cells / size) + (y * cells / size)) % 2 == 0;
            std::uint8_t* q = &p[(std::size_t(y) * size + x) * 4];
            q[0] = on ? 230 : 40;
            q[1] = on ? tint : 60;
            q[2] = on ? 90 : 120;
            q[3] = 255;
        }
    // A black (keyed) ring, as sprites and explosions have.
    for (int i = 0; i < size; ++i) {
        std::memset(&p[std::size_t(i) * 4], 0, 3);
        std::memset(&p[(std::size_t(size - 1) * size + i) * 4], 0, 3);
    }
    const std::string path = scratch(name);
    gfx::writePng(path.c_str(), size, size, p);
    return path;
}

// A ship-like mesh: a latitude-longitude ball of 16 x 12 quads, three
// materials in bands.
std::string ballX() {
    const int slices = 16, stacks = 12;
    std::string s = "xof 0302txt 0032\nMesh {\n" + std::to_string((slices + 1) * (stacks + 1)) + ";\n";
    for (int j = 0; j <= stacks; ++j)
        for (int i = 0; i <= slices; ++i) {
            const float th = 3.14159265f * j / stacks, ph = 6.2831853f * i / slices;
            s += std::to_string(std::sin(th) * std::cos(ph)) + ";" + std::to_string(std::cos(th)) +
                 ";" + std::to_string(std::sin(th) * std::sin(ph)) + ";,\n";
        }
    s.back() = ';';
    const std::string positions = s.substr(s.find(";\n") + 2);  // a unit ball: normals = positions
    s += "\n" + std::to_string(slices * stacks) + ";\n";
    std::string materials, faces;
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const int a = j * (slices + 1) + i, b = a + 1, c = a + slices + 2, d = a + slices + 1;
            faces += "4;" + std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) +
                     "," + std::to_string(d) + ";,\n";
            materials += std::to_string(j * 3 / stacks) + ",";
        }
    faces[faces.size() - 2] = ';';
    materials.back() = ';';
    s += faces + "MeshNormals { " + std::to_string((slices + 1) * (stacks + 1)) + ";\n" + positions +
         "\n" + std::to_string(slices * stacks) + ";\n" + faces + "}\n";
    s += "\nMeshMaterialList { 3; " + std::to_string(slices * stacks) + "; " + materials + ";\n"
         " Material { 0.9;0.2;0.2;1.0;; 5; 0;0;0;; 0;0;0;; }\n"
         " Material { 0.8;0.8;0.9;1.0;; 5; 0;0;0;; 0.1;0.1;0.1;; }\n"
         " Material { 0.2;0.3;0.9;1.0;; 5; 0;0;0;; 0;0;0;; } } }\n";
    const std::string path = scratch("ball.x");
    std::ofstream(path) << s;
    return path;
}

IDirect3DVertexBuffer9* quad(IDirect3DDevice9* d, const Vertex (&v)[4]) {
    IDirect3DVertexBuffer9* vb = nullptr;
    d->CreateVertexBuffer(sizeof v, D3DUSAGE_WRITEONLY, kFvf, D3DPOOL_MANAGED, &vb, nullptr);
    void* p = nullptr;
    vb->Lock(0, 0, &p, 0);
    std::memcpy(p, v, sizeof v);
    vb->Unlock();
    return vb;
}

IDirect3DTexture9* texture(IDirect3DDevice9* d, const std::string& path) {
    IDirect3DTexture9* t = nullptr;
    D3DXCreateTextureFromFileExA(d, path.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                 D3DX_DEFAULT, D3DX_DEFAULT, 0xFF000000, nullptr, nullptr, &t);
    return t;
}

struct Scene {
    IDirect3DDevice9* d;
    IDirect3DVertexBuffer9 *floor, *effect;
    IDirect3DTexture9* walls[4];
    IDirect3DTexture9 *blast, *hud;
    ID3DXMesh* mesh;
    ID3DXBuffer* mats;
    DWORD matCount;
    ID3DXSprite* sprite;
    float scroll = 0;

    explicit Scene(IDirect3DDevice9* device) : d(device) {
        const Vertex f[4] = {{-10, 0, 50, 0xFFFFFFFF, 0, 0}, {10, 0, 50, 0xFFFFFFFF, 1, 0},
                             {-10, 0, -50, 0xFFFFFFFF, 0, 1}, {10, 0, -50, 0xFFFFFFFF, 1, 1}};
        floor = quad(d, f);
        const Vertex e[4] = {{-5.5f, 5.5f, 0, 0xFFFFFFFF, 0, 0}, {5.5f, 5.5f, 0, 0xFFFFFFFF, 0.25f, 0},
                             {-5.5f, -5.5f, 0, 0xFFFFFFFF, 0, 0.25f},
                             {5.5f, -5.5f, 0, 0xFFFFFFFF, 0.25f, 0.25f}};
        effect = quad(d, e);
        for (int i = 0; i < 4; ++i)
            walls[i] = texture(d, checkerPng("wall" + std::to_string(i) + ".png", 256, 8, 60 * i));
        blast = texture(d, checkerPng("blast.png", 128, 4, 200));
        hud = texture(d, checkerPng("hud.png", 64, 2, 255));
        D3DXLoadMeshFromXA(ballX().c_str(), D3DXMESH_SYSTEMMEM, d, nullptr, &mats, nullptr,
                           &matCount, &mesh);
        D3DXCreateSprite(d, &sprite);

        D3DXMATRIX view, proj;
        const D3DXVECTOR3 eye(0, 7, -30), at(0, 0, 0), up(0, 1, 0);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&proj, 0.785398f, 800.0f / 600.0f, 1.0f, 1000.0f);
        d->SetTransform(D3DTS_VIEW, &view);
        d->SetTransform(D3DTS_PROJECTION, &proj);
        D3DLIGHT9 light;
        light.Diffuse = {1, 1, 1, 0};
        D3DXVECTOR3 dir(0, -0.5f, 1);
        D3DXVec3Normalize(&dir, &dir);
        light.Direction = {dir.x, dir.y, dir.z};
        d->SetLight(0, &light);
        d->LightEnable(0, TRUE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    }

    ~Scene() {
        sprite->Release();
        mesh->Release();
        mats->Release();
        hud->Release();
        blast->Release();
        for (auto* w : walls) w->Release();
        effect->Release();
        floor->Release();
    }

    void frame(int n) {
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff88d9ff, 1.0f, 0);
        d->BeginScene();
        // Corridor: floor, walls and ceiling with the scrolling texture.
        D3DXMATRIX tm, w;
        D3DXMatrixIdentity(&tm);
        tm._32 = scroll;
        d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
        d->SetTransform(D3DTS_TEXTURE0, &tm);
        const float parts[4][4] = {{0, 0, -2, 0}, {90, 10, 8, 1}, {270, -10, 8, 2}, {180, 0, 17.5f, 3}};
        for (const auto& p : parts) {
            D3DXMatrixRotationZ(&w, p[0] * 0.017453292f);
            w._41 = p[1], w._42 = p[2], w._43 = 25;
            d->SetTransform(D3DTS_WORLD, &w);
            d->SetTexture(0, walls[int(p[3])]);
            d->SetStreamSource(0, floor, 0, sizeof(Vertex));
            d->SetFVF(kFvf);
            d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
            d->SetTexture(0, nullptr);
        }
        d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
        scroll = scroll - 0.002f < -1 ? 0 : scroll - 0.002f;
        // 100 objects of three subsets each.
        auto* m = static_cast<D3DXMATERIAL*>(mats->GetBufferPointer());
        for (int i = 0; i < 100; ++i) {
            D3DXMatrixRotationY(&w, 0.05f * (n + i));
            w._41 = -8 + 16 * (i % 10) / 9.0f, w._42 = 2 + 8 * (i / 10) / 9.0f, w._43 = 5 + (i * 7) % 60;
            d->SetTransform(D3DTS_WORLD, &w);
            for (DWORD j = 0; j < matCount; ++j) {
                d->SetMaterial(&m[j].MatD3D);
                mesh->DrawSubset(j);
            }
        }
        // 20 explosions, additive, through everything.
        d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        for (int i = 0; i < 20; ++i) {
            d->SetRenderState(D3DRS_ZENABLE, FALSE);
            D3DXMatrixTranslation(&w, -9 + i, 3 + (i % 4), 40 + i);
            d->SetTransform(D3DTS_WORLD, &w);
            d->SetTexture(0, blast);
            d->SetStreamSource(0, effect, 0, sizeof(Vertex));
            d->SetFVF(kFvf);
            d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
            d->SetTexture(0, nullptr);
            d->SetRenderState(D3DRS_ZENABLE, TRUE);
        }
        d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        // 40 HUD sprites, some at 0.8 scale.
        sprite->Begin(0);
        for (int i = 0; i < 40; ++i) {
            D3DXMATRIX st;
            const D3DXVECTOR2 scale(i % 2 ? 0.8f : 1.0f, i % 2 ? 0.8f : 1.0f);
            const D3DXVECTOR2 at(float(20 + (i % 10) * 70), float(20 + (i / 10) * 130));
            D3DXMatrixTransformation2D(&st, nullptr, 0, &scale, nullptr, 0, &at);
            sprite->SetTransform(&st);
            sprite->Draw(hud, nullptr, nullptr, nullptr, 0xFFFFFFFF);
        }
        sprite->End();
        d->EndScene();
        d->Present(nullptr, nullptr, nullptr, nullptr);
    }
};

struct Result {
    double medianMs, p90Ms;
    double drawsPerFrame;
};

Result run(IDirect3DDevice9* d, int frames, const char* picture) {
    Scene scene(d);
    for (int i = 0; i < 20; ++i) scene.frame(i);  // warm up
    d->backend().finish();
    std::vector<double> ms;
    const std::uint64_t draws0 = d->drawCount();
    for (int i = 0; i < frames; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        scene.frame(i);
        d->backend().finish();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    const double draws = double(d->drawCount() - draws0) / frames;
    if (picture) {
        const auto px = d->backend().readPixels();
        if (!px.empty()) gfx::writePng(picture, 800, 600, px);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 9 / 10)], draws};
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 300;
    const char* picture = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0) frames = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--picture") == 0) picture = argv[i + 1];
    }
    std::string error;
    auto script = InputScript::parse("", error);
    installBackend(std::make_unique<HeadlessBackend>(std::move(*script), 0, 0));

    auto* rec = new IDirect3DDevice9(gfx::createRecordingBackend());
    rec->log().setEnabled(false);
    const Result r = run(rec, frames, nullptr);
    rec->Release();
    std::printf("recording backend: median %.3f ms, p90 %.3f ms, %.0f draw calls per frame\n",
                r.medianMs, r.p90Ms, r.drawsPerFrame);

    auto backend = gfx::GlBackend::create(gfx::GlDeviceKind::Any, error);
    if (!backend) {
        std::printf("gl backend: not available (%s)\n", error.c_str());
        return 0;
    }
    const std::string renderer = static_cast<gfx::GlBackend&>(*backend).renderer();
    auto* gl = new IDirect3DDevice9(std::move(backend));
    gl->log().setEnabled(false);
    const Result g = run(gl, frames, picture);
    gl->Release();
    std::printf("gl backend (%s), 800 x 600 off screen: median %.3f ms, p90 %.3f ms, "
                "%.0f draw calls per frame\n",
                renderer.c_str(), g.medianMs, g.p90Ms, g.drawsPerFrame);
    return 0;
}
