// The stage-clear letters read the right way round from where the clear
// orbit's camera rests: the letters turned 30 degrees about y at y = 4,
// x = -4 - i, z = 2i - 20, seen from the orbit's end (about (6.1, 5.0, 0.2))
// looking at the ship at (0, 3, -7). Checked on the projected mesh and on
// an off-screen render through the game's graphics layer.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "check/xfile_check.h"
#include "pack_files.h"
#include "platform/gfx/d3dx9.h"
#include "platform/gfx/gl/gl_backend.h"

namespace assetgen {
namespace {

using namespace platform;

constexpr D3DCOLOR kBackdrop = 0xFF283040;

// World matrix of letter i at rest, as the clear sequence builds it.
D3DXMATRIX letterWorld(int i) {
  D3DXMATRIX world;
  D3DXMatrixRotationY(&world, 30.0f * 0.017453292f);
  world.m[3][0] = -4.0f - i, world.m[3][1] = 4.0f, world.m[3][2] = 2.0f * i - 20.0f;
  return world;
}

// View and projection of the clear camera once the orbit has stopped: turned
// 4 rad from behind the ship, 99 x (0.035 - 0.015) above it.
void clearCamera(D3DXMATRIX& view, D3DXMATRIX& proj) {
  const float a = 3.14159f + 4.0f;
  D3DXVECTOR3 eye{8.0f * std::sin(a), 3.0f + 1.98f, -7.0f + 11.0f * std::cos(a)}, at{0, 3, -7}, up{0, 1, 0};
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&proj, 45.0f * 0.017453292f, 4.0f / 3.0f, 1.0f, 1000.0f);
}

// Screen position (pixels, y down) of a model point of letter i.
D3DXVECTOR3 onScreen(int i, const std::array<float, 3>& p) {
  D3DXMATRIX world = letterWorld(i), view, proj, wv, wvp;
  clearCamera(view, proj);
  D3DXMatrixMultiply(&wv, &world, &view);
  D3DXMatrixMultiply(&wvp, &wv, &proj);
  D3DXVECTOR3 v{p[0], p[1], p[2]}, s;
  D3DXVec3TransformCoord(&s, &v, &wvp);
  return {(s.x + 1) * 400.0f, (1 - s.y) * 300.0f, s.z};
}

XMesh letterMesh(const char* file) {
  XMesh m;
  std::string err;
  EXPECT_TRUE(parseXFile(test::readText(test::packDir() / file), m, err)) << err;
  return m;
}

// The L's stem rises on the viewer's left and its foot points right: the top
// of the stem projects left of the foot's corners. The faces the camera sees
// of the readable side are clockwise on screen, so counter-clockwise culling
// keeps them.
TEST(ClearLetters, ProjectedLReadsUnmirroredAndItsFrontIsKept) {
  XMesh m = letterMesh("x/L.x");
  ASSERT_FALSE(m.vertices.empty());
  double topX = 0, footX = 0;
  int top = 0, foot = 0;
  for (const auto& v : m.vertices) {
    if (v[1] > 0.3f) topX += onScreen(1, v).x, ++top;
    if (v[1] < -0.4f) footX += onScreen(1, v).x, ++foot;
  }
  ASSERT_GT(top, 0);
  ASSERT_GT(foot, 0);
  EXPECT_LT(topX / top + 5.0, footX / foot) << "the L's foot points left: the glyph is mirrored";

  // Of the large flat faces (front and back of the glyph), those turned
  // towards the camera are clockwise on screen and those turned away are not.
  int kept = 0, culled = 0;
  for (const auto& f : m.faces) {
    const auto &a = m.vertices[f[0]], &b = m.vertices[f[1]], &c = m.vertices[f[2]];
    if (std::fabs(a[2] - b[2]) > 1e-4f || std::fabs(a[2] - c[2]) > 1e-4f) continue;  // not a ±z face
    D3DXVECTOR3 sa = onScreen(1, a), sb = onScreen(1, b), sc = onScreen(1, c);
    float area = (sb.x - sa.x) * (sc.y - sa.y) - (sb.y - sa.y) * (sc.x - sa.x);  // > 0: clockwise
    (area > 0 ? kept : culled) += 1;
    EXPECT_EQ(area > 0, a[2] > 0) << "the +z face is the one the camera sees";
  }
  EXPECT_GT(kept, 0);
  EXPECT_EQ(kept, culled);
}

// One letter drawn alone from the clear camera with the game's render
// states and light; the picture as 800 x 600 RGBA, top row first.
class ClearLetterRender : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    auto backend = gfx::GlBackend::create(gfx::GlDeviceKind::Any, error);
    if (!backend) GTEST_SKIP() << "no OpenGL 3.3 here: " << error;
    d_ = new IDirect3DDevice9(std::move(backend));
    d_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    d_->SetRenderState(D3DRS_ZENABLE, 1);
    d_->SetRenderState(D3DRS_LIGHTING, 1);
    D3DLIGHT9 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 0};
    D3DXVECTOR3 dir{0, -0.5f, 1}, n;
    D3DXVec3Normalize(&n, &dir);
    light.Direction = {n.x, n.y, n.z};
    d_->SetLight(0, &light);
    d_->LightEnable(0, 1);
  }
  void TearDown() override {
    if (d_) d_->Release();
  }

  std::vector<std::uint8_t> render(const char* file, int i) {
    ID3DXBuffer* mats = nullptr;
    DWORD count = 0;
    ID3DXMesh* mesh = nullptr;
    std::string path = (test::packDir() / file).string();
    EXPECT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, d_, nullptr, &mats, nullptr, &count, &mesh), S_OK);
    if (!mesh) return {};
    D3DXMATRIX world = letterWorld(i), view, proj;
    clearCamera(view, proj);
    d_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackdrop, 1.0f, 0);
    d_->BeginScene();
    d_->SetTransform(D3DTS_WORLD, &world);
    d_->SetTransform(D3DTS_VIEW, &view);
    d_->SetTransform(D3DTS_PROJECTION, &proj);
    const auto* list = static_cast<const D3DXMATERIAL*>(mats->GetBufferPointer());
    for (DWORD j = 0; j < count; ++j) {
      d_->SetMaterial(&list[j].MatD3D);
      mesh->DrawSubset(j);
    }
    d_->EndScene();
    mesh->Release();
    mats->Release();
    return d_->backend().readPixels();
  }

  IDirect3DDevice9* d_ = nullptr;
};

// The glyph's pixels: everything that is not the backdrop.
struct Glyph {
  std::vector<std::uint8_t> rgba;
  int x0 = 800, y0 = 600, x1 = -1, y1 = -1, count = 0, gold = 0;
  explicit Glyph(std::vector<std::uint8_t> px) : rgba(std::move(px)) {
    if (rgba.size() < 800u * 600u * 4) return;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) {
        if (!drawn(x, y)) continue;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y), ++count;
        const std::uint8_t* p = &rgba[(size_t(y) * 800 + x) * 4];
        gold += p[0] >= 150 && p[1] >= 110 && p[2] <= 100;
      }
  }
  bool drawn(int x, int y) const {
    const std::uint8_t* p = &rgba[(size_t(y) * 800 + x) * 4];
    return std::abs(p[0] - 0x28) + std::abs(p[1] - 0x30) + std::abs(p[2] - 0x40) > 24;
  }
  // Mean column of the drawn pixels in rows [ya, yb).
  double meanX(int ya, int yb) const {
    double sum = 0;
    int n = 0;
    for (int y = ya; y < yb; ++y)
      for (int x = x0; x <= x1; ++x)
        if (drawn(x, y)) sum += x, ++n;
    return n ? sum / n : -1;
  }
};

TEST_F(ClearLetterRender, LReadsWithItsFootPointingRightAndAGoldFace) {
  Glyph g(render("x/L.x", 1));
  ASSERT_GT(g.count, 200) << "the L is not on screen";
  const int h = g.y1 - g.y0 + 1, w = g.x1 - g.x0 + 1;
  const double centre = (g.x0 + g.x1) / 2.0;
  // The stem alone fills the upper half, on the left; the foot spans the
  // bottom rows out to the right.
  EXPECT_LT(g.meanX(g.y0, g.y0 + h / 2), centre - w * 0.15) << "stem not on the left: mirrored";
  EXPECT_GT(g.meanX(g.y1 - h / 8, g.y1 + 1), g.meanX(g.y0, g.y0 + h / 2) + w * 0.25) << "foot not to the right";
  // The camera sees the glyph's face, glowing gold, not its dark sides.
  EXPECT_GT(g.gold, g.count * 6 / 10) << "the readable face is dark or hidden";
}

TEST_F(ClearLetterRender, COpensToTheRight) {
  Glyph g(render("x/C.x", 0));
  ASSERT_GT(g.count, 200) << "the C is not on screen";
  const int h = g.y1 - g.y0 + 1;
  const double centre = (g.x0 + g.x1) / 2.0;
  // Across the middle rows only the back of the C is drawn, on the left.
  double mid = g.meanX(g.y0 + h * 2 / 5, g.y0 + h * 3 / 5);
  ASSERT_GE(mid, 0);
  EXPECT_LT(mid, centre - (g.x1 - g.x0) * 0.2) << "the C opens to the left: mirrored";
  EXPECT_GT(g.gold, g.count * 6 / 10);
}

}  // namespace
}  // namespace assetgen
