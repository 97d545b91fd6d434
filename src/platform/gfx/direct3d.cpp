// IDirect3D9: the display mode and device creation with its fall-backs.
#include "platform/gfx/d3d9.h"

#include <cstdio>
#include <string>

#include "platform/gfx/gfx_config.h"
#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/recording_backend.h"
#include "platform/os.h"
#include "platform/real.h"

namespace platform {

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    return sdkVersion == D3D_SDK_VERSION ? new IDirect3D9() : nullptr;
}

HRESULT IDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    // The device always composes 800 x 600 in 32 bits; the window's real
    // size only decides how large it is shown.
    *mode = D3DDISPLAYMODE{800, 600, 60, D3DFMT_X8R8G8B8};
    return S_OK;
}

HRESULT IDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, Window*, DWORD behaviour,
                                 D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || !params) return D3DERR_INVALIDCALL;
    const bool hardwareVp = (behaviour & D3DCREATE_HARDWARE_VERTEXPROCESSING) != 0;
    const bool softwareVp = (behaviour & D3DCREATE_SOFTWARE_VERTEXPROCESSING) != 0;
    if (hardwareVp == softwareVp) return D3DERR_INVALIDCALL;

    gfx::GlDeviceKind kind = gfx::GlDeviceKind::Software;
    bool forcedFailure = gfx::creationFailures().reference;
    if (type == D3DDEVTYPE_HAL) {
        kind = hardwareVp ? gfx::GlDeviceKind::Accelerated : gfx::GlDeviceKind::Any;
        forcedFailure = hardwareVp ? gfx::creationFailures().halHardware
                                   : gfx::creationFailures().halSoftware;
    } else if (type != D3DDEVTYPE_REF) {
        return D3DERR_INVALIDCALL;
    }
    if (forcedFailure) return D3DERR_NOTAVAILABLE;

    const gfx::GfxConfig& cfg = gfx::config();
    std::unique_ptr<gfx::GfxBackend> backend;
    if (cfg.headless && cfg.screenshots.empty() && !gfx::frameTimes().active()) {
        backend = gfx::createRecordingBackend();
    } else {
        std::string error;
        backend = gfx::GlBackend::create(kind, error);
        if (!backend) {
            // The game shows its own boxes; why each stage failed goes to
            // stderr once the last one has failed too.
            static std::string reasons;
            reasons += "  device type " + std::to_string(type) +
                       (hardwareVp ? " (hardware vertex processing): " : ": ") + error + "\n";
            if (type == D3DDEVTYPE_REF) std::fprintf(stderr, "gfx: no device\n%s", reasons.c_str());
            return D3DERR_NOTAVAILABLE;
        }
    }
    // The device does not preserve the floating-point mode: from here on the
    // game's arithmetic is single precision.
    fpu::setSinglePrecision(true);
    *out = new IDirect3DDevice9(std::move(backend));
    return S_OK;
}

}  // namespace platform
