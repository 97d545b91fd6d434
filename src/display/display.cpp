#include "display/display.h"

#include "platform/real.h"

using namespace platform;

Display::Display() : FieldObject(6) { resetLetterPlacements(placements); }

Display::~Display() {
    release();
    director.reset();
    sounds.close();
    screenImages.release();
}

bool Display::createDevice(HWND window) {
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d_) {
        MessageBoxA(window, "1", "", MB_OK);
        return false;
    }
    D3DDISPLAYMODE mode;
    if (FAILED(d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) {
        MessageBoxA(window, "2", "", MB_OK);
        return false;
    }
    params_ = D3DPRESENT_PARAMETERS{};
    params_.BackBufferWidth = 800;
    params_.BackBufferHeight = 600;
    params_.BackBufferFormat = mode.Format;
    params_.BackBufferCount = 1;
    params_.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params_.Windowed = 0;
    params_.EnableAutoDepthStencil = 1;
    params_.AutoDepthStencilFormat = D3DFMT_D16;
    params_.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

    if (SUCCEEDED(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                     D3DCREATE_HARDWARE_VERTEXPROCESSING, &params_, &device_)))
        return true;
    if (SUCCEEDED(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params_, &device_)))
        return true;
    MessageBoxA(window, "2", "", MB_OK);
    if (SUCCEEDED(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_REF, window,
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params_, &device_)))
        return true;
    MessageBoxA(window, "3", "", MB_OK);
    device_ = nullptr;
    return false;
}

void Display::setRenderStates() {
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device_->SetRenderState(D3DRS_ZENABLE, 1);
    device_->SetRenderState(D3DRS_DITHERENABLE, 1);
    D3DLIGHT9 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    const D3DXVECTOR3 direction(0.0f, -0.5f, 1.0f);
    D3DXVECTOR3 normalised;
    D3DXVec3Normalize(&normalised, &direction);
    light.Direction = {normalised.x, normalised.y, normalised.z};
    device_->SetLight(0, &light);
    device_->LightEnable(0, 1);
    device_->SetRenderState(D3DRS_LIGHTING, 1);
}

void Display::setFirstCamera() {
    D3DXMatrixIdentity(&view);
    const float lookAtX = camera.lookAtX.toFloat();  // 0 at this point
    const D3DXVECTOR3 eye(lookAtX, 7.0f, -30.0f), at(lookAtX, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    device_->SetTransform(D3DTS_VIEW, &view);
    if (FAILED(device_->GetViewport(&viewport))) return;
    aspect = static_cast<float>(viewport.Width) / static_cast<float>(viewport.Height);
    D3DXMatrixIdentity(&projection);
    D3DXMatrixPerspectiveFovLH(&projection, 0.785398f, aspect, 1.0f, 1000.0f);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
}

void Display::init(HWND window) {
    // Stage 1: the device, the sprite, the screen sounds and images. Without
    // a device the other stages have nothing to work on.
    if (createDevice(window)) {
        if (FAILED(D3DXCreateSprite(device_, &sprite_))) {
            sprite_ = nullptr;
            MessageBoxA(window, "aaa", "", MB_OK);
        }
        sounds.open(window, {"w\\pishun.wav", "w\\bokaan.wav", "w\\kin.wav", "w\\camera.wav",
                             "w\\sam1.wav", "w\\sam2.wav", "w\\sam3.wav", "w\\sam4.wav",
                             "w\\sam5.wav", "w\\sam6.wav", "w\\missile.wav", "w\\ok.wav",
                             "w\\over.wav"});
        graphics.attach(device_, window, sprite_);
        screenImages.load(graphics);
        // Stages 2 and 3.
        setRenderStates();
        setFirstCamera();
    }
    resetCamera();
    window_ = window;
}

void Display::renderFrame(World& world, PlayerSide& playerSide, MusicPlayer& music, std::int32_t action,
                          std::int32_t direction) {
    if (!device_) return;
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff88d9ff, 1.0f, 0);
    device_->BeginScene();
    screenFlow(world, playerSide, music, action, direction);
    device_->EndScene();
    if (FAILED(device_->Present(nullptr, nullptr, nullptr, nullptr))) device_->Reset(&params_);
}

void Display::release() {
    try {
        if (device_) {
            device_->Release();
            device_ = nullptr;
        }
        if (d3d_) {
            d3d_->Release();
            d3d_ = nullptr;
        }
        if (sprite_) {
            sprite_->Release();
            sprite_ = nullptr;
        }
    } catch (...) {
        MessageBoxA(window_, "例外処理", "", MB_OK);
    }
}
