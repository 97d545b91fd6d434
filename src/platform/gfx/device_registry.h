// The device the harness hooks (frame calls, screenshots) act on: the one
// most recently created and not yet destroyed.
#pragma once

namespace platform {
class IDirect3DDevice9;
}

namespace platform::gfx {

void registerDevice(IDirect3DDevice9* device);
void unregisterDevice(IDirect3DDevice9* device);
IDirect3DDevice9* currentDevice();  // nullptr when none exists

}  // namespace platform::gfx
