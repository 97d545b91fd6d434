// The device on the recording backend: call order, the state each draw
// sees, call checks, lost presents and Reset, creation fall-backs, lifetimes.
#include <gtest/gtest.h>

#include "gfx_test_util.h"
#include "platform/gfx/gfx_trace.h"
#include "platform/real.h"

using namespace platform;
using namespace gfxtest;

namespace {

// Keeps the material, blend and texture of every draw.
class SnoopBackend final : public gfx::GfxBackend {
public:
    struct Seen {
        D3DMATERIAL9 material;
        DWORD destBlend;
        bool lighting, zEnable;
        std::uint32_t texture;
        int vertexCount;
    };
    std::vector<Seen>* seen;
    explicit SnoopBackend(std::vector<Seen>* s) : seen(s) {}
    const char* name() const override { return "snoop"; }
    std::uint32_t createTexture(gfx::TextureSource) override { return next++; }
    void releaseTexture(std::uint32_t) override {}
    std::uint32_t createBuffer(std::size_t) override { return next++; }
    void updateBuffer(std::uint32_t, std::size_t, const void*, std::size_t) override {}
    void releaseBuffer(std::uint32_t) override {}
    void clear(DWORD, D3DCOLOR, float) override {}
    void draw(const gfx::PipelineState& s, const gfx::DrawCall& c) override {
        seen->push_back({s.material, s.destBlend, s.lighting, s.zEnable, s.texture0Handle,
                         c.vertexCount});
    }
    bool present() override { return true; }
    bool reset() override { return true; }
    std::uint32_t next = 1;
};

std::string twoMaterialMesh() {
    const std::string path = scratchPath("calls.x");
    writeText(path,
              "xof 0302txt 0032\n"
              "Mesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,3;;\n"
              " MeshMaterialList { 2; 2; 0, 1;;\n"
              "  Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
              "  Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; } } }\n");
    return path;
}

TEST(DeviceCalls, EachSubsetDrawsWithTheMaterialSetBeforeIt) {
    std::vector<SnoopBackend::Seen> seen;
    auto* d = new IDirect3DDevice9(std::make_unique<SnoopBackend>(&seen));
    d->log().setEnabled(true);
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* mats = nullptr;
    DWORD count = 0;
    ASSERT_EQ(D3DXLoadMeshFromXA(twoMaterialMesh().c_str(), D3DXMESH_SYSTEMMEM, d, nullptr, &mats,
                                 nullptr, &count, &mesh),
              S_OK);
    ASSERT_EQ(count, 2u);
    auto* m = static_cast<D3DXMATERIAL*>(mats->GetBufferPointer());
    EXPECT_EQ(m[0].pTextureFilename, nullptr);
    d->BeginScene();
    for (DWORD i = 0; i < count; ++i) {
        d->SetMaterial(&m[i].MatD3D);
        mesh->DrawSubset(i);
    }
    EXPECT_EQ(mesh->DrawSubset(7), S_OK);  // no such subset: draws nothing
    d->EndScene();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FLOAT_EQ(seen[0].material.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(seen[1].material.Diffuse.g, 1.0f);
    EXPECT_EQ(seen[0].vertexCount, 3);
    // The log has them in call order.
    std::vector<std::string> ops;
    for (const auto& c : d->log().calls())
        if (c.op == "SetMaterial" || c.op == "DrawSubset") ops.push_back(c.op);
    EXPECT_EQ(ops, (std::vector<std::string>{"SetMaterial", "DrawSubset", "SetMaterial",
                                             "DrawSubset", "DrawSubset"}));
    mesh->Release();
    mats->Release();
    d->Release();
}

TEST(DeviceCalls, AdditiveDrawAndTheBlendSwitchedBack) {
    std::vector<SnoopBackend::Seen> seen;
    auto* d = new IDirect3DDevice9(std::make_unique<SnoopBackend>(&seen));
    d->log().setEnabled(true);
    IDirect3DVertexBuffer9* vb = makeBuffer(d, square(0, 0, 5, 1));
    d->BeginScene();
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    drawStrip(d, vb);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    drawStrip(d, vb);
    d->EndScene();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].destBlend, DWORD(D3DBLEND_ONE));
    EXPECT_EQ(seen[1].destBlend, DWORD(D3DBLEND_INVSRCALPHA));
    EXPECT_EQ(seen[0].vertexCount, 4);  // two primitives of a strip
    DWORD v = 0;
    d->GetRenderState(D3DRS_DESTBLEND, &v);
    EXPECT_EQ(v, DWORD(D3DBLEND_INVSRCALPHA));
    vb->Release();
    d->Release();
}

TEST(DeviceCalls, SpriteSetsItsStateAndEndRestoresIt) {
    std::vector<SnoopBackend::Seen> seen;
    auto* d = new IDirect3DDevice9(std::make_unique<SnoopBackend>(&seen));
    IDirect3DTexture9* tex = new IDirect3DTexture9(d, d->backend().createTexture({}), 8, 8, 4,
                                                   D3DFMT_A8R8G8B8);
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(d, &sprite), S_OK);
    EXPECT_EQ(sprite->Begin(0), D3DERR_INVALIDCALL);  // outside a scene
    d->BeginScene();
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    d->SetRenderState(D3DRS_LIGHTING, TRUE);
    d->SetRenderState(D3DRS_ZENABLE, FALSE);
    D3DXMATRIX view;
    D3DXMatrixTranslation(&view, 1, 2, 3);
    d->SetTransform(D3DTS_VIEW, &view);
    EXPECT_EQ(sprite->Draw(tex, nullptr, nullptr, nullptr, 0xFFFFFFFF), D3DERR_INVALIDCALL);
    ASSERT_EQ(sprite->Begin(0), S_OK);
    EXPECT_EQ(sprite->Begin(0), D3DERR_INVALIDCALL);
    EXPECT_FALSE(d->state().lighting);
    EXPECT_EQ(d->state().cullMode, DWORD(D3DCULL_NONE));
    EXPECT_TRUE(d->state().alphaTestEnable);
    EXPECT_EQ(d->state().sampler0.addressU, DWORD(D3DTADDRESS_CLAMP));
    ASSERT_EQ(sprite->Draw(tex, nullptr, nullptr, nullptr, 0xFFFFFFFF), S_OK);
    ASSERT_EQ(sprite->End(), S_OK);
    EXPECT_EQ(sprite->End(), D3DERR_INVALIDCALL);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].lighting);
    EXPECT_FALSE(seen[0].zEnable);  // depth testing is left as the device had it
    EXPECT_EQ(seen[0].texture, tex->handle());
    // Restored.
    EXPECT_TRUE(d->state().lighting);
    EXPECT_EQ(d->state().cullMode, DWORD(D3DCULL_CCW));
    EXPECT_FALSE(d->state().alphaTestEnable);
    EXPECT_EQ(d->state().sampler0.addressU, DWORD(D3DTADDRESS_WRAP));
    EXPECT_EQ(d->state().view._42, 2.0f);
    EXPECT_EQ(d->state().texture0Handle, 0u);
    d->EndScene();
    sprite->Release();
    tex->Release();
    d->Release();
}

TEST(DeviceCalls, DrawsAreCheckedAsDirect3DChecksThem) {
    IDirect3DDevice9* d = recordingDevice();
    IDirect3DVertexBuffer9* vb = makeBuffer(d, square(0, 0, 5, 1));
    d->SetStreamSource(0, vb, 0, sizeof(Vertex));
    d->SetFVF(kQuadFvf);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);  // no scene
    EXPECT_EQ(d->BeginScene(), S_OK);
    EXPECT_EQ(d->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), S_OK);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 3), D3DERR_INVALIDCALL);  // past the end
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);
    d->SetFVF(D3DFVF_XYZ | 0x1000);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);  // unknown format
    d->SetFVF(kQuadFvf);
    d->SetStreamSource(0, vb, 0, 12);  // stride smaller than the format
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
    void* p = nullptr;
    EXPECT_EQ(vb->Lock(0, 97, &p, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(vb->Lock(0, 0, &p, 0), S_OK);
    EXPECT_EQ(vb->Lock(0, 0, &p, 0), D3DERR_INVALIDCALL);  // already locked
    EXPECT_EQ(vb->Unlock(), S_OK);
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);
    D3DVIEWPORT9 vp;
    ASSERT_EQ(d->GetViewport(&vp), S_OK);
    EXPECT_EQ(vp.Width, 800u);
    EXPECT_EQ(vp.Height, 600u);
    EXPECT_EQ(d->EndScene(), S_OK);
    // A released buffer is unbound, so a later draw cannot reach it.
    vb->Release();
    d->BeginScene();
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
    d->EndScene();
    auto& rec = static_cast<gfx::RecordingBackend&>(d->backend());
    EXPECT_EQ(rec.badDraws(), 0u);
    EXPECT_EQ(rec.draws(), 1u);
    d->Release();
}

TEST(DeviceCalls, FailedPresentsStayLostUntilResetSucceeds) {
    IDirect3DDevice9* d = recordingDevice();
    EXPECT_EQ(d->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
    gfx::failPresents(2);
    EXPECT_EQ(d->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS pp;
    EXPECT_EQ(d->Reset(&pp), D3DERR_DEVICELOST);  // still cannot come back
    EXPECT_EQ(d->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(d->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);  // lost until reset
    EXPECT_EQ(d->Reset(&pp), S_OK);
    EXPECT_EQ(d->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(d->log().count("Reset"), 2u);
    d->Release();
}

TEST(DeviceCalls, CreationFallsBackStageByStageAndSwitchesToSinglePrecision) {
    gfx::GfxConfig cfg;
    cfg.headless = true;
    gfx::configure(cfg);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(Direct3DCreate9(30), nullptr);
    D3DDISPLAYMODE mode;
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), S_OK);
    D3DPRESENT_PARAMETERS pp;
    pp.BackBufferWidth = 800;
    pp.BackBufferHeight = 600;
    IDirect3DDevice9* dev = nullptr;
    gfx::setCreationFailures({true, false, false});
    EXPECT_TRUE(FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                         D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev)));
    EXPECT_EQ(dev, nullptr);
    fpu::setSinglePrecision(false);
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &dev),
              S_OK);
    EXPECT_TRUE(fpu::singlePrecision);
    EXPECT_STREQ(dev->backend().name(), "recording");
    dev->Release();
    gfx::setCreationFailures({true, true, true});
    EXPECT_TRUE(FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                         D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &dev)));
    EXPECT_TRUE(FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_REF, nullptr,
                                         D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &dev)));
    gfx::setCreationFailures({});
    fpu::setSinglePrecision(false);
    gfx::configure({});
    d3d->Release();
}

TEST(DeviceCalls, ResourcesKeepTheDeviceUntilTheyAreReleased) {
    // The game releases its device before some textures and the sprite.
    IDirect3DDevice9* d = recordingDevice();
    auto& rec = static_cast<gfx::RecordingBackend&>(d->backend());
    const std::string path = scratchPath("life.png");
    ASSERT_TRUE(gfx::writePng(path.c_str(), 2, 2, solid(2, 2, 9, 9, 9)));
    IDirect3DTexture9* tex = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(d, path.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                           nullptr, &tex),
              S_OK);
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(d, &sprite), S_OK);
    EXPECT_EQ(rec.liveTextures(), 1u);
    EXPECT_EQ(d->Release(), 2u);  // the texture and the sprite still hold it
    EXPECT_EQ(sprite->Release(), 0u);
    EXPECT_EQ(rec.liveTextures(), 1u);
    EXPECT_EQ(tex->Release(), 0u);  // the last one: the device goes too
}

TEST(DeviceCalls, TraceListsTheFrameCalls) {
    gfx::GfxConfig cfg;
    cfg.headless = true;
    gfx::configure(cfg);
    IDirect3DDevice9* d = recordingDevice();
    d->SetRenderState(D3DRS_LIGHTING, TRUE);
    gfx::setCurrentFrame(5);  // a new frame: earlier calls are dropped
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff88d9ff, 1.0f, 0);
    d->BeginScene();
    d->EndScene();
    ASSERT_EQ(gfx::frameCalls().size(), 3u);
    struct Writer {  // the shape of JsonWriter, printing a flat text
        std::string out;
        Writer& key(std::string_view k) { out += std::string(k) + ":"; return *this; }
        Writer& value(double v) { out += std::to_string(static_cast<long long>(v)) + ","; return *this; }
        Writer& value(std::int64_t v) { out += std::to_string(v) + ","; return *this; }
        Writer& value(std::string_view v) { out += std::string(v) + ","; return *this; }
        Writer& beginObject(std::string_view k) { key(k); out += "{"; return *this; }
        Writer& beginArray(std::string_view k) { key(k); out += "["; return *this; }
        Writer& openObject() { out += "{"; return *this; }
        Writer& end() { out += "}"; return *this; }
    } w;
    gfx::traceDisplay(w);
    EXPECT_EQ(w.out, "display:{draws:0,calls:[{op:Clear,args:[3,4287158783,1,}}{op:BeginScene,"
                     "args:[}}{op:EndScene,args:[}}}}");
    d->Release();
    EXPECT_TRUE(gfx::frameCalls().empty());
    gfx::configure({});
}

TEST(DeviceCalls, ALaterFrameReusesTheLogWithoutKeepingEarlierArguments) {
    gfx::CallLog log;
    log.setEnabled(true);
    gfx::GfxCall* first = log.begin("SetTransform");
    for (int i = 0; i < 17; ++i) first->args.push_back(i);
    log.add("Clear", {1, 2});
    log.clear();
    log.add("BeginScene");  // into the record SetTransform had
    log.add("SetRenderState", {7, 1});
    ASSERT_EQ(log.calls().size(), 2u);
    EXPECT_EQ(log.calls()[0].op, "BeginScene");
    EXPECT_TRUE(log.calls()[0].args.empty());
    EXPECT_EQ(log.calls()[1].args, (std::vector<double>{7, 1}));
    EXPECT_EQ(log.count("Clear"), 0u);
    log.setEnabled(false);
    EXPECT_EQ(log.begin("EndScene"), nullptr);
    EXPECT_EQ(log.calls().size(), 2u);
}

TEST(DeviceCalls, HeadlessFramesWithoutAPictureSkipDrawingButStillRecord) {
    gfx::GfxConfig cfg;
    cfg.headless = true;
    cfg.screenshots = {{2, scratchPath("unused.png")}};
    gfx::configure(cfg);
    IDirect3DDevice9* d = recordingDevice();
    auto& rec = static_cast<gfx::RecordingBackend&>(d->backend());
    IDirect3DVertexBuffer9* vb = makeBuffer(d, square(0, 0, 5, 1));
    std::vector<std::size_t> drawn;
    for (std::uint64_t frame = 0; frame < 4; ++frame) {
        gfx::setCurrentFrame(frame);
        d->BeginScene();
        drawStrip(d, vb);
        d->EndScene();
        EXPECT_EQ(d->log().count("DrawPrimitive"), 1u);  // the trace sees every frame
        drawn.push_back(rec.draws());
    }
    EXPECT_EQ(drawn, (std::vector<std::size_t>{0, 0, 1, 1}));
    vb->Release();
    d->Release();
    gfx::configure({});
}

}  // namespace
