// Screen contact sheet: the pack's 2D images drawn with the game's sprite at
// the places the game draws them (title with each menu choice, story
// frames, play with the HUD over the field, game over and the staff roll),
// eight 800 x 600 frames in a 4 x 2 sheet.
#include <algorithm>
#include <map>
#include <vector>

#include "manifest.h"
#include "platform/gfx/d3dx9.h"
#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/png_image.h"
#include "sheets.h"

namespace gallery {

using namespace platform;

namespace {

class Screens {
 public:
  Screens(IDirect3DDevice9* d, std::string pack) : d_(d), pack_(std::move(pack)) { D3DXCreateSprite(d, &sprite_); }
  ~Screens() {
    for (auto& [path, t] : textures_) t->Release();
    sprite_->Release();
  }
  // With `field`, the corridor and some craft are drawn first, as in play.
  void begin(D3DCOLOR clear, bool field = false) {
    d_->Clear(0, nullptr, D3DCLEAR_TARGET | 2, clear, 1.0f, 0);
    d_->BeginScene();
    if (field) drawField(d_, pack_);
    sprite_->Begin(0);
  }
  // Draws a file (or one 32 x 32 cell of it) at (x, y), scaled.
  void draw(const std::string& path, float x, float y, float scale = 1, const RECT* cell = nullptr) {
    D3DXMATRIX m;
    D3DXVECTOR2 s{scale, scale}, t{x, y};
    D3DXMatrixTransformation2D(&m, nullptr, 0, &s, nullptr, 0, &t);
    sprite_->SetTransform(&m);
    if (IDirect3DTexture9* tex = texture(path)) sprite_->Draw(tex, cell, nullptr, nullptr, 0xFFFFFFFF);
  }
  void digit(const std::string& sheet, int d, float x, float y) {
    RECT r{(d < 8 ? d : d - 8) * 32, d < 8 ? 0 : 32, (d < 8 ? d : d - 8) * 32 + 32, d < 8 ? 32 : 64};
    draw(sheet, x, y, 1, &r);
  }
  std::vector<std::uint8_t> end() {
    sprite_->End();
    d_->EndScene();
    d_->Present(nullptr, nullptr, nullptr, nullptr);
    return d_->backend().readPixels();
  }

 private:
  IDirect3DTexture9* texture(const std::string& path) {
    auto it = textures_.find(path);
    if (it != textures_.end()) return it->second;
    const assetgen::AssetEntry* e = assetgen::findAsset(path);
    IDirect3DTexture9* t = nullptr;
    std::string file = pack_ + "/" + path;
    D3DXCreateTextureFromFileExA(d_, file.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                 D3DX_DEFAULT, e ? e->tex.key : 0, nullptr, nullptr, &t);
    if (t) textures_[path] = t;
    return t;
  }
  IDirect3DDevice9* d_;
  std::string pack_;
  ID3DXSprite* sprite_ = nullptr;
  std::map<std::string, IDirect3DTexture9*> textures_;
};

constexpr D3DCOLOR kSky = 0xFF88D9FF;  // the game's clear colour

}  // namespace

std::string writeScreenSheet(const std::string& packDir, const std::string& outPng) {
  std::string error;
  auto backend = gfx::GlBackend::create(gfx::GlDeviceKind::Any, error);
  if (!backend) return "no OpenGL 3.3: " + error;
  IDirect3DDevice9* d = new IDirect3DDevice9(std::move(backend));
  std::vector<std::vector<std::uint8_t>> frames;
  {
    Screens s(d, packDir);
    // Title, normal chosen, then easy chosen.
    s.begin(kSky);
    s.draw("t/title.png", 0, -14);
    s.draw("t/easy.png", 500, 370), s.draw("t/normal2.png", 500, 420), s.draw("t/hard.png", 500, 470);
    s.draw("t/normal3.png", 300, 520);
    frames.push_back(s.end());
    s.begin(kSky);
    s.draw("t/title.png", 0, -14);
    s.draw("t/easy2.png", 500, 370), s.draw("t/normal.png", 496, 420), s.draw("t/hard.png", 500, 470);
    s.draw("t/easy3.png", 300, 520);
    frames.push_back(s.end());
    // Story: the opening caption, then a picture at rest with its caption.
    s.begin(kSky);
    s.draw("t/story.png", 0, 0);
    s.draw("t/moji1.png", 350, 270);
    frames.push_back(s.end());
    s.begin(kSky);
    s.draw("t/story.png", 0, 0);
    s.draw("t/story3.png", -60, 0);
    s.draw("t/moji5.png", 160, 450);
    frames.push_back(s.end());
    // Play: the field with the HUD over it (two hit points, blinking; four
    // missiles; blips; a score of 150000 and a hit counter of 5).
    s.begin(kSky, true);
    s.draw("t/hp1-2.png", 60, 440, 0.8f);
    for (int i = 0; i < 4; ++i) s.draw("t/missile.png", 200 + 50.0f * i, 490, 0.7f);
    s.draw("t/radar.png", 600, 440, 0.8f);
    s.draw("t/enemy.png", 650 - 20, 493 - 25), s.draw("t/enemy2.png", 650 + 30, 493 - 10);
    s.draw("t/enemy3.png", 650, 493);
    s.draw("t/waku.png", 500, 20);
    const int score[7] = {0, 1, 5, 0, 0, 0, 0};
    for (int i = 0; i < 7; ++i) s.digit("t/score.png", score[i], 500 + 37.0f * i, 20);
    s.draw("t/hitwaku.png", 628, 80), s.draw("t/hit.png", 692, 80);
    s.digit("t/hitscore.png", 0, 628, 95), s.digit("t/hitscore.png", 5, 658, 95);
    frames.push_back(s.end());
    // Game over at rest over the field, and the staff roll.
    s.begin(kSky, true);
    s.draw("t/gameover.png", 0, -420);
    frames.push_back(s.end());
    s.begin(kSky);
    s.draw("t/staff.png", 0, 0);
    frames.push_back(s.end());
    // The story's last picture with its caption.
    s.begin(kSky);
    s.draw("t/story.png", 0, 0);
    s.draw("t/story4.png", -60, 0);
    s.draw("t/moji6.png", 160, 450);
    frames.push_back(s.end());
  }
  d->Release();
  const int width = 3200, height = 1200;
  std::vector<std::uint8_t> sheet(size_t(width) * height * 3, 0);
  for (size_t f = 0; f < frames.size(); ++f) {
    if (frames[f].size() < 800u * 600u * 4) return "the backend returned no picture";
    int ox = int(f % 4) * 800, oy = int(f / 4) * 600;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x)
        for (int c = 0; c < 3; ++c) sheet[(size_t(oy + y) * width + ox + x) * 3 + c] = frames[f][(size_t(y) * 800 + x) * 4 + c];
  }
  return gfx::writePngRgb(outPng.c_str(), width, height, sheet) ? "" : "cannot write the sheet";
}

}  // namespace gallery
