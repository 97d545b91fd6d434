// The stage-clear word as the game shows it: the five letters at rest (turned
// 30 degrees about y, at y = 4, x = -4 - i, z = 2i - 20) seen from where the
// clear orbit's camera stops, looking at the ship, and, for comparison, from
// the opposite side of the word (where the glyphs show mirrored).
#include <cmath>
#include <vector>

#include "platform/gfx/d3dx9.h"
#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/png_image.h"
#include "sheets.h"

namespace gallery {

using namespace platform;

namespace {

// The orbit circles the ship at (0, 3, -7): 8 across, 11 deep, `height` above.
D3DXVECTOR3 orbitEye(float angle, float height) {
  return {8.0f * std::sin(angle), 3.0f + height, -7.0f + 11.0f * std::cos(angle)};
}

std::vector<std::uint8_t> clearFrame(IDirect3DDevice9* d, const std::string& pack, D3DXVECTOR3 eye,
                                     D3DXVECTOR3 at) {
  d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackdrop, 1.0f, 0);
  d->BeginScene();
  D3DXMATRIX view, proj;
  D3DXVECTOR3 up{0, 1, 0};
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&proj, 0.785398f, 800.0f / 600.0f, 1.0f, 1000.0f);
  d->SetTransform(D3DTS_VIEW, &view);
  d->SetTransform(D3DTS_PROJECTION, &proj);
  const char* letters[5] = {"x/C.x", "x/L.x", "x/E.x", "x/A.x", "x/R.x"};
  for (int i = 0; i < 5; ++i) {
    ID3DXBuffer* mats = nullptr;
    DWORD count = 0;
    ID3DXMesh* mesh = nullptr;
    std::string file = pack + "/" + letters[i];
    if (D3DXLoadMeshFromXA(file.c_str(), D3DXMESH_SYSTEMMEM, d, nullptr, &mats, nullptr, &count, &mesh) != S_OK)
      continue;
    D3DXMATRIX world;
    D3DXMatrixRotationY(&world, 30.0f * 0.017453292f);
    world.m[3][0] = -4.0f - i, world.m[3][1] = 4.0f, world.m[3][2] = 2.0f * i - 20.0f;
    d->SetTransform(D3DTS_WORLD, &world);
    const auto* list = static_cast<const D3DXMATERIAL*>(mats->GetBufferPointer());
    for (DWORD j = 0; j < count; ++j) {
      d->SetMaterial(&list[j].MatD3D);
      mesh->DrawSubset(j);
    }
    mesh->Release();
    mats->Release();
  }
  d->EndScene();
  d->Present(nullptr, nullptr, nullptr, nullptr);
  return d->backend().readPixels();
}

}  // namespace

std::string writeClearSheet(const std::string& packDir, const std::string& outPng) {
  std::string error;
  auto backend = gfx::GlBackend::create(gfx::GlDeviceKind::Any, error);
  if (!backend) return "no OpenGL 3.3: " + error;
  IDirect3DDevice9* d = new IDirect3DDevice9(std::move(backend));
  setGameLight(d);
  // At rest the orbit has turned 4 rad and kept 99 x (0.035 - 0.015) of height.
  const D3DXVECTOR3 rest = orbitEye(3.14159f + 4.0f, 1.98f), ship{0, 3, -7}, word{-6, 4, -16};
  const D3DXVECTOR3 eyes[2] = {rest, {2 * word.x - rest.x, rest.y, 2 * word.z - rest.z}}, ats[2] = {ship, word};
  const int width = 1600;
  std::vector<std::uint8_t> sheet(size_t(width) * 600 * 3, 0);
  for (int f = 0; f < 2; ++f) {
    std::vector<std::uint8_t> frame = clearFrame(d, packDir, eyes[f], ats[f]);
    if (frame.size() < 800u * 600u * 4) continue;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x)
        for (int c = 0; c < 3; ++c)
          sheet[(size_t(y) * width + f * 800 + x) * 3 + c] = frame[(size_t(y) * 800 + x) * 4 + c];
  }
  d->Release();
  return gfx::writePngRgb(outPng.c_str(), width, 600, sheet) ? "" : "cannot write the sheet";
}

}  // namespace gallery
