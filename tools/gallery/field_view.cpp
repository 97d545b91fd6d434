// One frame of the field of play as the game draws it: the corridor's four
// textured quads with the game's transforms, texture stage and camera, the
// player's ship, a few enemies and the second boss, lit by the game's light.
#include <cstring>
#include <vector>

#include "platform/gfx/d3dx9.h"
#include "sheets.h"

namespace gallery {

using namespace platform;

namespace {
struct QuadVertex {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kQuadFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

void placeMesh(IDirect3DDevice9* d, const std::string& pack, const char* path, float x, float y, float z,
               std::vector<ID3DXMesh*>& meshes, std::vector<ID3DXBuffer*>& buffers) {
  ID3DXBuffer* mats = nullptr;
  DWORD count = 0;
  ID3DXMesh* mesh = nullptr;
  std::string file = pack + "/" + path;
  if (D3DXLoadMeshFromXA(file.c_str(), D3DXMESH_SYSTEMMEM, d, nullptr, &mats, nullptr, &count, &mesh) != S_OK) return;
  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, x, y, z);
  d->SetTransform(D3DTS_WORLD, &world);
  const auto* list = static_cast<const D3DXMATERIAL*>(mats->GetBufferPointer());
  for (DWORD i = 0; i < count; ++i) {
    d->SetMaterial(&list[i].MatD3D);
    mesh->DrawSubset(i);
  }
  meshes.push_back(mesh);
  buffers.push_back(mats);
}
}  // namespace

void drawField(IDirect3DDevice9* d, const std::string& pack) {
  setGameLight(d);
  D3DXMATRIX view, proj;
  D3DXVECTOR3 eye{0, 7, -30}, at{0, 0, 0}, up{0, 1, 0};
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&proj, 0.785398f, 800.0f / 600.0f, 1.0f, 1000.0f);
  d->SetTransform(D3DTS_VIEW, &view);
  d->SetTransform(D3DTS_PROJECTION, &proj);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
  d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);

  const QuadVertex quad[4] = {{-10, 0, 50, 0xFFFFFFFF, 0, 0}, {10, 0, 50, 0xFFFFFFFF, 1, 0},
                              {-10, 0, -50, 0xFFFFFFFF, 0, 1}, {10, 0, -50, 0xFFFFFFFF, 1, 1}};
  IDirect3DVertexBuffer9* vb = nullptr;
  d->CreateVertexBuffer(sizeof quad, D3DUSAGE_WRITEONLY, kQuadFvf, D3DPOOL_MANAGED, &vb, nullptr);
  void* data = nullptr;
  vb->Lock(0, 0, &data, 0);
  std::memcpy(data, quad, sizeof quad);
  vb->Unlock();
  // Floor, right wall, left wall, ceiling: turned about z and placed.
  const struct {
    const char* texture;
    float angle, x, y, depth;
  } parts[4] = {{"t/back1.png", 0, 0, -2, 25}, {"t/back2.png", 90, 10, 8, 25}, {"t/back3.png", 270, -10, 8, 25},
                {"t/back4.png", 180, 0, 17.5f, 25}};
  for (const auto& p : parts) {
    IDirect3DTexture9* tex = nullptr;
    std::string file = pack + "/" + p.texture;
    D3DXCreateTextureFromFileExA(d, file.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                 D3DX_DEFAULT, 0xFF000000, nullptr, nullptr, &tex);
    D3DXMATRIX world;
    D3DXMatrixRotationZ(&world, p.angle * 0.017453292f);
    world.m[3][0] = p.x, world.m[3][1] = p.y, world.m[3][2] = p.depth;
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetTexture(0, tex);
    d->SetStreamSource(0, vb, 0, sizeof(QuadVertex));
    d->SetFVF(kQuadFvf);
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    d->SetTexture(0, nullptr);
    if (tex) tex->Release();
  }
  vb->Release();
  std::vector<ID3DXMesh*> meshes;
  std::vector<ID3DXBuffer*> buffers;
  placeMesh(d, pack, "x/boss2.x", 0, 7, 50, meshes, buffers);
  placeMesh(d, pack, "x/teki04.x", -5, 5, 30, meshes, buffers);
  placeMesh(d, pack, "x/teki3.x", 4, 6, 22, meshes, buffers);
  placeMesh(d, pack, "x/teki03.x", 6, 4, 40, meshes, buffers);
  placeMesh(d, pack, "x/teki08.x", -3, 8, 15, meshes, buffers);
  placeMesh(d, pack, "x/mychar.x", 0, 3, -7, meshes, buffers);
  for (ID3DXMesh* m : meshes) m->Release();
  for (ID3DXBuffer* b : buffers) b->Release();
}

}  // namespace gallery
