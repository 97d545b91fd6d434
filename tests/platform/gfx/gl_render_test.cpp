// Off-screen renders through the GL backend, checked pixel by pixel against
// what the Direct3D 9 fixed-function pipeline gives.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx_test_util.h"

using namespace platform;
using namespace gfxtest;

namespace {

constexpr D3DCOLOR kSky = 0xff88d9ff;

class GlRender : public ::testing::Test {
protected:
    void SetUp() override {
        d_ = glDevice();
        if (!d_) GTEST_SKIP() << "no OpenGL 3.3 on this machine";
        lookForward(d_);
        // The game's light: white, direction (0, -0.5, 1) normalised.
        D3DLIGHT9 light;
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = {1, 1, 1, 0};
        D3DXVECTOR3 dir(0, -0.5f, 1);
        D3DXVec3Normalize(&dir, &dir);
        light.Direction = {dir.x, dir.y, dir.z};
        d_->SetLight(0, &light);
        d_->LightEnable(0, TRUE);
        d_->SetRenderState(D3DRS_LIGHTING, TRUE);
        d_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        d_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        d_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        d_->BeginScene();
        d_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kSky, 1.0f, 0);
    }
    void TearDown() override {
        for (auto* vb : buffers_) vb->Release();
        for (auto* t : textures_) t->Release();
        if (d_) {
            d_->EndScene();
            d_->Release();
        }
    }
    IDirect3DVertexBuffer9* buffer(const std::vector<Vertex>& v) {
        buffers_.push_back(makeBuffer(d_, v));
        return buffers_.back();
    }
    IDirect3DTexture9* texture(int w, int h, const std::vector<std::uint8_t>& rgba,
                               D3DCOLOR key = 0xFF000000) {
        const std::string path = scratchPath("render.png");
        EXPECT_TRUE(gfx::writePng(path.c_str(), w, h, rgba));
        IDirect3DTexture9* t = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileExA(d_, path.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                               D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, key,
                                               nullptr, nullptr, &t),
                  S_OK);
        textures_.push_back(t);
        return t;
    }
    // Texture stage 0 as the World sets it: colour and alpha from the texture.
    void selectTexture() {
        d_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        d_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        d_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        d_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    }
    void material(D3DCOLORVALUE diffuse, D3DCOLORVALUE emissive = {}) {
        D3DMATERIAL9 m;
        m.Diffuse = diffuse;
        m.Emissive = emissive;
        d_->SetMaterial(&m);
    }
    // A lit triangle with a normal, covering the centre of the screen.
    void litTriangle(float nx, float ny, float nz, float z = 5) {
        struct NV {
            float x, y, z, nx, ny, nz;
        };
        const NV tri[3] = {{-2, 2, z, nx, ny, nz}, {2, 2, z, nx, ny, nz}, {0, -2, z, nx, ny, nz}};
        IDirect3DVertexBuffer9* vb = nullptr;
        ASSERT_EQ(d_->CreateVertexBuffer(sizeof tri, 0, D3DFVF_XYZ | D3DFVF_NORMAL,
                                         D3DPOOL_MANAGED, &vb, nullptr),
                  S_OK);
        void* p = nullptr;
        vb->Lock(0, 0, &p, 0);
        std::memcpy(p, tri, sizeof tri);
        vb->Unlock();
        buffers_.push_back(vb);
        d_->SetStreamSource(0, vb, 0, sizeof(NV));
        d_->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
        ASSERT_EQ(d_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), S_OK);
    }

    IDirect3DDevice9* d_ = nullptr;
    std::vector<IDirect3DVertexBuffer9*> buffers_;
    std::vector<IDirect3DTexture9*> textures_;
};

TEST_F(GlRender, ClearFillsTheSkyColour) {
    const Picture pic = capture(d_);
    ASSERT_EQ(pic.rgba.size(), 800u * 600u * 4u);
    EXPECT_PIXEL_NEAR(pic.at(0, 0), 0x88, 0xD9, 0xFF, 0);
    EXPECT_PIXEL_NEAR(pic.at(799, 599), 0x88, 0xD9, 0xFF, 0);
}

TEST_F(GlRender, LitTriangleFollowsTheLightingFormula) {
    // Facing the camera: N.L = 0.8944272; colour = diffuse * N.L.
    material({0.8f, 0.4f, 0.2f, 1.0f});
    litTriangle(0, 0, -1);
    const float ndotl = 0.8944272f;
    EXPECT_PIXEL_NEAR(capture(d_).at(400, 300), std::lround(0.8f * ndotl * 255),
                      std::lround(0.4f * ndotl * 255), std::lround(0.2f * ndotl * 255), 2);
}

TEST_F(GlRender, FacesTurnedFromTheLightShowOnlyTheirEmissive) {
    // Normal along the light: N.L < 0 is clamped to 0, so only the emissive
    // colour stays; the output alpha is the diffuse alpha (0.5 here).
    material({1, 1, 1, 0.5f}, {0.2f, 0.6f, 0.4f, 1});
    litTriangle(0, -0.4472136f, 0.8944272f);
    const auto px = capture(d_).at(400, 300);
    EXPECT_PIXEL_NEAR(px, std::lround(0.5f * 0.2f * 255 + 0.5f * 0x88),
                      std::lround(0.5f * 0.6f * 255 + 0.5f * 0xD9),
                      std::lround(0.5f * 0.4f * 255 + 0.5f * 0xFF), 2);
}

TEST_F(GlRender, TexturedQuadShowsItsTextureUnlit) {
    // No normals: the lit colour is the (black) emissive, but stage 0 selects
    // the texture, so the texel colour shows as it is.
    material({1, 1, 1, 1});
    selectTexture();
    d_->SetTexture(0, texture(2, 2, solid(2, 2, 200, 100, 50)));
    drawStrip(d_, buffer(square(0, 0, 5, 1)));
    EXPECT_PIXEL_NEAR(capture(d_).at(400, 300), 200, 100, 50, 1);
}

TEST_F(GlRender, UntexturedStagePassesTheLitColourThrough) {
    material({1, 1, 1, 1}, {0.0f, 0.0f, 1.0f, 1});
    selectTexture();
    d_->SetTexture(0, nullptr);
    drawStrip(d_, buffer(square(0, 0, 5, 1, 0xFFFFFFFF)));
    EXPECT_PIXEL_NEAR(capture(d_).at(400, 300), 0, 0, 255, 1);
}

TEST_F(GlRender, ColourKeyedTexelsAreInvisibleWithoutAHalo) {
    // An 8 x 8 white square ringed by keyed black, magnified 40 times: the
    // ring disappears and the edge never turns darker than sky or white.
    std::vector<std::uint8_t> p = solid(8, 8, 0, 0, 0);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x) setTexel(p, 8, x, y, 255, 255, 255);
    selectTexture();
    d_->SetTexture(0, texture(8, 8, p));
    // 8 texels over 320 pixels: quad half size in view units at z = 5.
    const float half = 160.0f / 300.0f * 5.0f / 2.4142137f;
    drawStrip(d_, buffer(square(0, 0, 5, half)));
    const Picture pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(400, 300), 255, 255, 255, 1);
    EXPECT_PIXEL_NEAR(pic.at(400 - 150, 300), 0x88, 0xD9, 0xFF, 1);  // in the keyed ring
    EXPECT_PIXEL_NEAR(pic.at(400, 300 + 150), 0x88, 0xD9, 0xFF, 1);
    for (int x = 400 - 160; x < 400; ++x) {  // across the edge
        const auto px = pic.at(x, 300);
        EXPECT_GE(px.r, 0x88 - 1) << x;
        EXPECT_GE(px.g, 0xD9 - 1) << x;
        EXPECT_GE(px.b, 0xFF - 1) << x;
    }
}

TEST_F(GlRender, AdditiveGlowAddsWhereNormalBlendMixes) {
    selectTexture();
    d_->SetTexture(0, texture(2, 2, solid(2, 2, 100, 0, 0, 128)));
    d_->SetRenderState(D3DRS_ZENABLE, FALSE);
    drawStrip(d_, buffer(square(-1.2f, 0, 5, 1)));  // left: normal blend
    d_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    drawStrip(d_, buffer(square(1.2f, 0, 5, 1)));   // right: additive
    d_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    const Picture pic = capture(d_);
    const float a = 128 / 255.0f;
    const int x0 = 400 - int(1.2f / 5 * 2.4142137f * 300), x1 = 400 + int(1.2f / 5 * 2.4142137f * 300);
    EXPECT_PIXEL_NEAR(pic.at(x0, 300), std::lround(100 * a + 0x88 * (1 - a)),
                      std::lround(0xD9 * (1 - a)), std::lround(0xFF * (1 - a)), 2);
    EXPECT_PIXEL_NEAR(pic.at(x1, 300), std::lround(100 * a + 0x88), 0xD9, 0xFF, 2);
}

TEST_F(GlRender, DepthTestOffDrawsThroughNearerSurfaces) {
    material({1, 1, 1, 1}, {1, 0, 0, 1});
    drawStrip(d_, buffer(square(0, 0, 5, 1)));   // near, red
    material({1, 1, 1, 1}, {0, 1, 0, 1});
    IDirect3DVertexBuffer9* far = buffer(square(-2.5f, 0, 20, 2.5f));  // green, left half
    drawStrip(d_, far);
    Picture pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(350, 300), 255, 0, 0, 1);  // hidden behind red
    EXPECT_PIXEL_NEAR(pic.at(230, 300), 0, 255, 0, 1);  // beside it
    d_->SetRenderState(D3DRS_ZENABLE, FALSE);
    drawStrip(d_, far);
    d_->SetRenderState(D3DRS_ZENABLE, TRUE);
    pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(350, 300), 0, 255, 0, 1);  // the effect shows through
    EXPECT_PIXEL_NEAR(pic.at(440, 300), 255, 0, 0, 1);  // where it does not reach
}

TEST_F(GlRender, CullingDropsCounterClockwiseFacesOnScreen) {
    material({1, 1, 1, 1}, {1, 1, 1, 1});
    // Left triangle clockwise on screen (top, right, bottom-left), right one
    // counter-clockwise.
    auto tri = [&](float cx, bool clockwise) {
        std::vector<Vertex> v = {{cx, 1, 5, 0xFFFFFFFF, 0, 0},
                                 {cx + 1, -1, 5, 0xFFFFFFFF, 0, 0},
                                 {cx - 1, -1, 5, 0xFFFFFFFF, 0, 0}};
        if (!clockwise) std::swap(v[1], v[2]);
        IDirect3DVertexBuffer9* vb = buffer(v);
        d_->SetStreamSource(0, vb, 0, sizeof(Vertex));
        d_->SetFVF(kQuadFvf);
        d_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    };
    const int left = 400 - int(1.5f / 5 * 2.4142137f * 300);
    const int right = 400 + int(1.5f / 5 * 2.4142137f * 300);
    tri(-1.5f, true);
    tri(1.5f, false);
    Picture pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(left, 300), 255, 255, 255, 1);
    EXPECT_PIXEL_NEAR(pic.at(right, 300), 0x88, 0xD9, 0xFF, 1);
    d_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    d_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kSky, 1.0f, 0);
    tri(-1.5f, true);
    tri(1.5f, false);
    pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(left, 300), 0x88, 0xD9, 0xFF, 1);
    EXPECT_PIXEL_NEAR(pic.at(right, 300), 255, 255, 255, 1);
    d_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kSky, 1.0f, 0);
    tri(1.5f, false);
    pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(right, 300), 255, 255, 255, 1);
}

TEST_F(GlRender, TextureTransformScrollsWithTheTranslationInRowThree) {
    // Four texels across (red, green, blue, white); shifting u by 0.25 moves
    // the picture one texel; wrapping brings red back on the right.
    std::vector<std::uint8_t> p = solid(4, 1, 0, 0, 0);
    setTexel(p, 4, 0, 0, 255, 0, 0);
    setTexel(p, 4, 1, 0, 0, 255, 0);
    setTexel(p, 4, 2, 0, 0, 0, 255);
    setTexel(p, 4, 3, 0, 255, 255, 255);
    selectTexture();
    d_->SetTexture(0, texture(4, 1, p, 0));
    const float half = 200.0f / 300.0f * 5.0f / 2.4142137f;  // 400 pixels wide
    IDirect3DVertexBuffer9* vb = buffer(square(0, 0, 5, half));
    const int texel0 = 400 - 150;  // centre of the first 100-pixel texel
    drawStrip(d_, vb);
    EXPECT_PIXEL_NEAR(capture(d_).at(texel0, 300), 255, 0, 0, 1);

    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    m._31 = 0.25f;
    d_->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    d_->SetTransform(D3DTS_TEXTURE0, &m);
    drawStrip(d_, vb);
    Picture pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(texel0, 300), 0, 255, 0, 1);
    EXPECT_PIXEL_NEAR(pic.at(texel0 + 300, 300), 255, 0, 0, 1);  // wrapped

    d_->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    drawStrip(d_, vb);
    EXPECT_PIXEL_NEAR(capture(d_).at(texel0, 300), 255, 0, 0, 1);
}

TEST_F(GlRender, WorldRotationTurnsNormalsWithTheGeometry) {
    // The facing triangle turned 60 degrees about y, then moved to z = 5: its
    // normal becomes (-sin 60, 0, -cos 60), so N.L = 0.8944272 * cos 60.
    material({1.0f, 1.0f, 1.0f, 1.0f});
    D3DXMATRIX turn, move, w;
    D3DXMatrixRotationY(&turn, 1.0471976f);
    D3DXMatrixTranslation(&move, 0, 0, 5);
    D3DXMatrixMultiply(&w, &turn, &move);
    d_->SetTransform(D3DTS_WORLD, &w);
    litTriangle(0, 0, -1, 0);
    const int half = int(std::lround(0.8944272f * 0.5f * 255));
    EXPECT_PIXEL_NEAR(capture(d_).at(400, 300), half, half, half, 2);
    // Normals are not renormalised: a uniform scale of 2 halves them, as
    // Direct3D's inverse transpose does, and the face is lit half as much.
    D3DXMatrixScaling(&w, 2, 2, 2);
    d_->SetTransform(D3DTS_WORLD, &w);
    d_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kSky, 1.0f, 0);
    litTriangle(0, 0, -1);
    EXPECT_PIXEL_NEAR(capture(d_).at(400, 300), half, half, half, 2);
    // Unless asked to.
    d_->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    litTriangle(0, 0, -1);
    const int full = int(std::lround(0.8944272f * 255));
    EXPECT_PIXEL_NEAR(capture(d_).at(400, 300), full, full, full, 2);
}

TEST_F(GlRender, VertexColourIsTheDiffuseSourceWhenTheVertexHasOne) {
    material({0, 0, 0, 1});  // ignored: the vertex colour wins
    struct CV {
        float x, y, z, nx, ny, nz;
        D3DCOLOR c;
    };
    const CV tri[3] = {{-2, 2, 5, 0, 0, -1, 0xFF80FF40}, {2, 2, 5, 0, 0, -1, 0xFF80FF40},
                       {0, -2, 5, 0, 0, -1, 0xFF80FF40}};
    IDirect3DVertexBuffer9* vb = nullptr;
    const DWORD fvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE;
    ASSERT_EQ(d_->CreateVertexBuffer(sizeof tri, 0, fvf, D3DPOOL_MANAGED, &vb, nullptr), S_OK);
    buffers_.push_back(vb);
    void* p = nullptr;
    vb->Lock(0, 0, &p, 0);
    std::memcpy(p, tri, sizeof tri);
    vb->Unlock();
    d_->SetStreamSource(0, vb, 0, sizeof(CV));
    d_->SetFVF(fvf);
    d_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    const float k = 0.8944272f;
    EXPECT_PIXEL_NEAR(capture(d_).at(400, 300), std::lround(0x80 * k), std::lround(0xFF * k),
                      std::lround(0x40 * k), 2);
    // With colour-vertex off the material is the source again.
    d_->SetRenderState(D3DRS_COLORVERTEX, FALSE);
    material({1, 0, 0, 1});
    d_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    EXPECT_PIXEL_NEAR(capture(d_).at(400, 300), std::lround(255 * k), 0, 0, 2);
}

TEST_F(GlRender, TextureTransformScrollsAlongVWithRowThreeColumnTwo) {
    // The corridor's scroll: four texels down (red, green, blue, white), v
    // moved by -0.25 shows the texel above, wrapping white in at the top.
    std::vector<std::uint8_t> p = solid(1, 4, 0, 0, 0);
    setTexel(p, 1, 0, 0, 255, 0, 0);
    setTexel(p, 1, 0, 1, 0, 255, 0);
    setTexel(p, 1, 0, 2, 0, 0, 255);
    setTexel(p, 1, 0, 3, 255, 255, 255);
    selectTexture();
    d_->SetTexture(0, texture(1, 4, p, 0));
    const float half = 200.0f / 300.0f * 5.0f / 2.4142137f;  // 400 pixels tall
    IDirect3DVertexBuffer9* vb = buffer(square(0, 0, 5, half));
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    m._32 = -0.25f;
    d_->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    d_->SetTransform(D3DTS_TEXTURE0, &m);
    drawStrip(d_, vb);
    const Picture pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(400, 150), 255, 255, 255, 1);  // top texel: wrapped white
    EXPECT_PIXEL_NEAR(pic.at(400, 250), 255, 0, 0, 1);      // red moved down one
    EXPECT_PIXEL_NEAR(pic.at(400, 450), 0, 0, 255, 1);
}

TEST_F(GlRender, SpritePlacesImagesInPixelsAndScalesThem) {
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(d_, &sprite), S_OK);
    IDirect3DTexture9* img = texture(100, 50, solid(100, 50, 255, 0, 0));
    // A second picture with a keyed hole in its middle column.
    std::vector<std::uint8_t> holed = solid(3, 1, 0, 0, 255);
    setTexel(holed, 3, 1, 0, 0, 0, 0);
    IDirect3DTexture9* hole = texture(3, 1, holed);

    ASSERT_EQ(sprite->Begin(0), S_OK);
    D3DXMATRIX m;
    const D3DXVECTOR2 scale(0.8f, 0.8f), at(60, 440);
    D3DXMatrixTransformation2D(&m, nullptr, 0, &scale, nullptr, 0, &at);
    sprite->SetTransform(&m);
    ASSERT_EQ(sprite->Draw(img, nullptr, nullptr, nullptr, 0xFFFFFFFF), S_OK);
    // The right half of the image only, at (300, 100), unscaled.
    const D3DXVECTOR2 at2(300, 100);
    D3DXMatrixTransformation2D(&m, nullptr, 0, nullptr, nullptr, 0, &at2);
    sprite->SetTransform(&m);
    RECT half{50, 0, 100, 50};
    sprite->Draw(img, &half, nullptr, nullptr, 0xFFFFFFFF);
    const D3DXVECTOR2 scale3(100, 100), at3(500, 100);
    D3DXMatrixTransformation2D(&m, nullptr, 0, &scale3, nullptr, 0, &at3);
    sprite->SetTransform(&m);
    sprite->Draw(hole, nullptr, nullptr, nullptr, 0xFFFFFFFF);
    ASSERT_EQ(sprite->End(), S_OK);

    const Picture pic = capture(d_);
    EXPECT_PIXEL_NEAR(pic.at(60, 440), 255, 0, 0, 1);    // top-left corner
    EXPECT_PIXEL_NEAR(pic.at(139, 479), 255, 0, 0, 1);   // 80 x 40 pixels
    EXPECT_PIXEL_NEAR(pic.at(140, 460), 0x88, 0xD9, 0xFF, 1);
    EXPECT_PIXEL_NEAR(pic.at(100, 480), 0x88, 0xD9, 0xFF, 1);
    EXPECT_PIXEL_NEAR(pic.at(59, 460), 0x88, 0xD9, 0xFF, 1);
    EXPECT_PIXEL_NEAR(pic.at(349, 149), 255, 0, 0, 1);   // 50 x 50 from the rectangle
    EXPECT_PIXEL_NEAR(pic.at(350, 120), 0x88, 0xD9, 0xFF, 1);
    EXPECT_PIXEL_NEAR(pic.at(550, 150), 0, 0, 255, 1);   // first texel, 100 pixels wide
    EXPECT_PIXEL_NEAR(pic.at(650, 150), 0x88, 0xD9, 0xFF, 1);  // the keyed texel
    sprite->Release();
}

// More sprites in one frame than the sprite's vertex ring holds: every one
// lands where it was placed, with its own colour, after the ring wraps.
TEST_F(GlRender, SpritesPastTheVertexRingKeepTheirOwnQuads) {
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(d_, &sprite), S_OK);
    IDirect3DTexture9* white = texture(4, 4, solid(4, 4, 255, 255, 255));
    ASSERT_EQ(sprite->Begin(0), S_OK);
    constexpr int kCount = 600;  // 10-pixel squares in 30 x 20 cells: over two laps of the ring
    for (int i = 0; i < kCount; ++i) {
        D3DXMATRIX m;
        const D3DXVECTOR2 scale(2.5f, 2.5f), at(float(i % 30) * 20 + 8, float(i / 30) * 20 + 8);
        D3DXMatrixTransformation2D(&m, nullptr, 0, &scale, nullptr, 0, &at);
        sprite->SetTransform(&m);
        const D3DCOLOR shade = D3DCOLOR_ARGB(255, i % 256, (i * 7) % 256, 255 - i % 256);
        ASSERT_EQ(sprite->Draw(white, nullptr, nullptr, nullptr, shade), S_OK);
    }
    ASSERT_EQ(sprite->End(), S_OK);
    const Picture pic = capture(d_);
    for (int i = 0; i < kCount; i += 37) {
        SCOPED_TRACE(i);
        EXPECT_PIXEL_NEAR(pic.at((i % 30) * 20 + 10, (i / 30) * 20 + 10), i % 256, (i * 7) % 256, 255 - i % 256, 1);
        EXPECT_PIXEL_NEAR(pic.at((i % 30) * 20 + 4, (i / 30) * 20 + 4), 0x88, 0xD9, 0xFF, 1);
    }
    sprite->Release();
}

TEST_F(GlRender, MeshSubsetsDrawOnlyTheirOwnFaces) {
    const std::string path = scratchPath("two.x");
    writeText(path,
              "xof 0302txt 0032\n"
              "Mesh { 8; -3;1;5;, -1;1;5;, -1;-1;5;, -3;-1;5;, 1;1;5;, 3;1;5;, 3;-1;5;, 1;-1;5;;\n"
              " 2; 4;0,1,2,3;, 4;4,5,6,7;;\n"
              " MeshMaterialList { 2; 2; 0, 1;;\n"
              "  Material { 0;0;0;1;; 0; 0;0;0;; 1;0;0;; }\n"
              "  Material { 0;0;0;1;; 0; 0;0;0;; 0;0;1;; } } }\n");
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* mats = nullptr;
    DWORD count = 0;
    ASSERT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, d_, nullptr, &mats, nullptr,
                                 &count, &mesh),
              S_OK);
    ASSERT_EQ(count, 2u);
    auto* m = static_cast<D3DXMATERIAL*>(mats->GetBufferPointer());
    d_->SetMaterial(&m[1].MatD3D);
    mesh->DrawSubset(1);
    const Picture pic = capture(d_);
    const int dx = int(2.0f / 5 * 2.4142137f * 300);
    EXPECT_PIXEL_NEAR(pic.at(400 + dx, 300), 0, 0, 255, 1);
    EXPECT_PIXEL_NEAR(pic.at(400 - dx, 300), 0x88, 0xD9, 0xFF, 1);
    mesh->Release();
    mats->Release();
}

}  // namespace
