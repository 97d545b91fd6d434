// The gallery's window: steps through every mesh (turning on a turntable,
// lit as in the game) and every image (over a checkerboard, its colour key
// applied, at its size), in the order of the pack table.
#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <vector>

#include "platform/backend.h"
#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/png_image.h"
#include "platform/input.h"
#include "platform/sdl/sdl_backend.h"
#include "sheets.h"

namespace gallery {

using namespace platform;

namespace {

struct Item {
  const assetgen::AssetEntry* entry;
  ID3DXMesh* mesh = nullptr;
  ID3DXBuffer* materials = nullptr;
  DWORD count = 0;
  IDirect3DTexture9* texture = nullptr;
};

void drawSprite(ID3DXSprite* sprite, IDirect3DTexture9* tex, float x, float y, float scale) {
  D3DXMATRIX m;
  D3DXVECTOR2 s{scale, scale}, t{x, y};
  D3DXMatrixTransformation2D(&m, nullptr, 0, &s, nullptr, 0, &t);
  sprite->SetTransform(&m);
  sprite->Draw(tex, nullptr, nullptr, nullptr, 0xFFFFFFFF);
}

}  // namespace

int runViewer(const std::string& packDir, int frames) {
  std::string why;
  auto sdl = createSdlBackend(why);
  if (!sdl) {
    std::fprintf(stderr, "tervo-gallery: no display (%s); use --headless --sheet OUT.png\n", why.c_str());
    return 1;
  }
  installBackend(std::move(sdl));
  if (!backend().createWindow("TERVO gallery", 1024, 768, packDir + "/t/icon.png")) return 1;
  auto gl = gfx::GlBackend::create(gfx::GlDeviceKind::Any, why);
  if (!gl) {
    std::fprintf(stderr, "tervo-gallery: %s\n", why.c_str());
    return 1;
  }
  IDirect3DDevice9* d = new IDirect3DDevice9(std::move(gl));
  ID3DXSprite* sprite = nullptr;
  D3DXCreateSprite(d, &sprite);

  // The checkerboard behind images, written once as a texture file.
  std::vector<std::uint8_t> checker(64 * 64 * 4);
  for (int i = 0; i < 64 * 64; ++i) {
    std::uint8_t v = ((i % 64) / 8 + (i / 64) / 8) % 2 ? 200 : 150;
    checker[i * 4] = checker[i * 4 + 1] = checker[i * 4 + 2] = v, checker[i * 4 + 3] = 255;
  }
  std::string checkerPath =
      (std::filesystem::temp_directory_path() / ("tervo-gallery-checker-" + std::to_string(getpid()) + ".png")).string();
  gfx::writePng(checkerPath.c_str(), 64, 64, checker);
  IDirect3DTexture9* board = nullptr;
  D3DXCreateTextureFromFileExA(d, checkerPath.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                               D3DX_DEFAULT, 0, nullptr, nullptr, &board);
  std::error_code removeError;
  std::filesystem::remove(checkerPath, removeError);  // the texture holds it now

  std::vector<Item> items;
  for (const assetgen::AssetEntry& e : assetgen::manifest()) {
    std::string path = packDir + "/" + e.path;
    Item it{&e};
    if (e.kind == assetgen::Kind::Mesh) {
      D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, d, nullptr, &it.materials, nullptr, &it.count, &it.mesh);
      if (it.mesh) items.push_back(it);
    } else if (e.kind == assetgen::Kind::Texture || e.kind == assetgen::Kind::Icon) {
      D3DXCreateTextureFromFileExA(d, path.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                   D3DX_DEFAULT, e.kind == assetgen::Kind::Texture ? e.tex.key : 0, nullptr,
                                   nullptr, &it.texture);
      if (it.texture) items.push_back(it);
    }
  }
  if (items.empty()) {
    std::fprintf(stderr, "tervo-gallery: nothing to show in %s\n", packDir.c_str());
    return 1;
  }

  size_t current = 0;
  float yaw = 0;
  bool wasLeft = false, wasRight = false, running = true;
  std::printf("%s: %s\n", items[0].entry->path.c_str(), items[0].entry->shows.c_str());
  for (int frame = 0; running && (frames <= 0 || frame < frames); ++frame) {
    std::deque<MSG> queue;
    backend().pumpEvents(queue);
    for (const MSG& m : queue)
      if (m.message == WM_CLOSE || m.message == WM_QUIT || m.message == WM_DESTROY ||
          (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE))
        running = false;
    std::uint8_t keys[256] = {};
    backend().keyboardState(keys);
    bool left = keys[DIK_LEFT] & 0x80, right = keys[DIK_RIGHT] & 0x80;
    if ((left && !wasLeft) || (right && !wasRight)) {
      current = (current + (right ? 1 : items.size() - 1)) % items.size();
      yaw = 0;
      std::printf("%s: %s\n", items[current].entry->path.c_str(), items[current].entry->shows.c_str());
    }
    wasLeft = left, wasRight = right;
    if (keys[DIK_ESCAPE] & 0x80) running = false;

    const Item& it = items[current];
    d->Clear(0, nullptr, D3DCLEAR_TARGET | 2, kBackdrop, 1.0f, 0);
    d->BeginScene();
    if (it.mesh) {
      setGameLight(d);
      drawMeshView(d, it.mesh, static_cast<const D3DXMATERIAL*>(it.materials->GetBufferPointer()), it.count,
                   viewRadius(*it.entry), yaw, 15);
      yaw += 1.0f;
    } else {
      // Large pictures are shown at half size so they fit the 800 x 600 view.
      float scale = it.entry->tex.width > 800 ? 0.5f : 1.0f;
      sprite->Begin(0);
      for (int y = 0; y < 600; y += 64)
        for (int x = 0; x < 800; x += 64) drawSprite(sprite, board, float(x), float(y), 1);
      drawSprite(sprite, it.texture, 8, 8, scale);
      sprite->End();
    }
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
    backend().sleep(16);
  }
  for (Item& it : items) {
    if (it.mesh) it.mesh->Release(), it.materials->Release();
    if (it.texture) it.texture->Release();
  }
  if (board) board->Release();
  sprite->Release();
  d->Release();
  backend().destroyWindow();
  releaseBackend();
  return 0;
}

}  // namespace gallery
