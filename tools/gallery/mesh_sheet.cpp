// Mesh contact sheet: each mesh loaded by the game's mesh loader and drawn
// on the GL backend with the game's light (one white directional light
// along (0, -0.5, 1), no ambient) from the front, the side and from behind
// and above; two meshes per row, three views each.
#include <algorithm>
#include <cmath>
#include <vector>

#include "manifest.h"
#include "platform/gfx/d3dx9.h"
#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/png_image.h"
#include "sheets.h"

namespace gallery {

using namespace platform;

namespace {
constexpr int kTileW = 400, kTileH = 300, kPerRow = 6;
}  // namespace

float viewRadius(const assetgen::AssetEntry& e) {
  return std::sqrt(e.mesh.hx * e.mesh.hx + e.mesh.hy * e.mesh.hy + e.mesh.hz * e.mesh.hz);
}

void setGameLight(IDirect3DDevice9* d) {
  d->SetRenderState(D3DRS_CULLMODE, 3);
  d->SetRenderState(D3DRS_ZENABLE, 1);
  d->SetRenderState(D3DRS_LIGHTING, 1);
  D3DLIGHT9 light;
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {1, 1, 1, 0};
  D3DXVECTOR3 dir{0, -0.5f, 1}, n;
  D3DXVec3Normalize(&n, &dir);
  light.Direction = {n.x, n.y, n.z};
  d->SetLight(0, &light);
  d->LightEnable(0, 1);
}

void drawMeshView(IDirect3DDevice9* d, ID3DXMesh* mesh, const D3DXMATERIAL* mats, DWORD count, float radius,
                  float yawDeg, float pitchDeg) {
  D3DXMATRIX world, viewM, proj;
  D3DXMatrixRotationY(&world, yawDeg * 0.017453292f);
  d->SetTransform(D3DTS_WORLD, &world);
  float dist = radius / std::tan(0.3927f) * 1.1f, p = pitchDeg * 0.017453292f;
  D3DXVECTOR3 eye{0, dist * std::sin(p), -dist * std::cos(p)}, at{0, 0, 0}, up{0, 1, 0};
  D3DXMatrixLookAtLH(&viewM, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&proj, 0.785398f, 800.0f / 600.0f, 0.1f, 1000.0f);
  d->SetTransform(D3DTS_VIEW, &viewM);
  d->SetTransform(D3DTS_PROJECTION, &proj);
  for (DWORD i = 0; i < count; ++i) {
    d->SetMaterial(&mats[i].MatD3D);
    mesh->DrawSubset(i);
  }
}

namespace {

// One 800 x 600 frame of the mesh seen from (yaw, pitch), halved.
std::vector<std::uint8_t> view(IDirect3DDevice9* d, ID3DXMesh* mesh, const D3DXMATERIAL* mats, DWORD count,
                               float radius, float yawDeg, float pitchDeg) {
  d->Clear(0, nullptr, D3DCLEAR_TARGET | 2, kBackdrop, 1.0f, 0);
  d->BeginScene();
  drawMeshView(d, mesh, mats, count, radius, yawDeg, pitchDeg);
  d->EndScene();
  d->Present(nullptr, nullptr, nullptr, nullptr);
  std::vector<std::uint8_t> full = d->backend().readPixels(), half(size_t(kTileW) * kTileH * 3);
  if (full.size() < 800u * 600u * 4) return half;
  for (int y = 0; y < kTileH; ++y)
    for (int x = 0; x < kTileW; ++x)
      for (int c = 0; c < 3; ++c) {
        int s = 0;
        for (int k = 0; k < 4; ++k) s += full[(size_t(2 * y + k / 2) * 800 + 2 * x + k % 2) * 4 + c];
        half[(size_t(y) * kTileW + x) * 3 + c] = std::uint8_t(s / 4);
      }
  return half;
}
}  // namespace

std::string writeMeshSheet(const std::string& packDir, const std::string& outPng) {
  std::string error;
  auto backend = gfx::GlBackend::create(gfx::GlDeviceKind::Any, error);
  if (!backend) return "no OpenGL 3.3: " + error;
  IDirect3DDevice9* d = new IDirect3DDevice9(std::move(backend));
  setGameLight(d);

  std::vector<const assetgen::AssetEntry*> meshes;
  for (const assetgen::AssetEntry& e : assetgen::manifest())
    if (e.kind == assetgen::Kind::Mesh) meshes.push_back(&e);
  const int views = int(meshes.size()) * 3, rows = (views + kPerRow - 1) / kPerRow;
  const int width = kPerRow * kTileW;
  std::vector<std::uint8_t> sheet(size_t(width) * rows * kTileH * 3, 0);
  for (size_t m = 0; m < meshes.size(); ++m) {
    std::string path = packDir + "/" + meshes[m]->path;
    ID3DXBuffer* mats = nullptr;
    DWORD count = 0;
    ID3DXMesh* mesh = nullptr;
    if (D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, d, nullptr, &mats, nullptr, &count, &mesh) != S_OK)
      return "cannot load " + meshes[m]->path;
    const auto* list = static_cast<const D3DXMATERIAL*>(mats->GetBufferPointer());
    float radius = viewRadius(*meshes[m]);
    const float angles[3][2] = {{0, 10}, {90, 10}, {200, 30}};
    for (int a = 0; a < 3; ++a) {
      std::vector<std::uint8_t> tile = view(d, mesh, list, count, radius, angles[a][0], angles[a][1]);
      int index = int(m) * 3 + a, tx = (index % kPerRow) * kTileW, ty = (index / kPerRow) * kTileH;
      for (int y = 0; y < kTileH; ++y)
        std::copy_n(&tile[size_t(y) * kTileW * 3], kTileW * 3, &sheet[(size_t(ty + y) * width + tx) * 3]);
    }
    mesh->Release();
    mats->Release();
  }
  d->Release();
  return gfx::writePngRgb(outPng.c_str(), width, rows * kTileH, sheet) ? "" : "cannot write the sheet";
}

}  // namespace gallery
