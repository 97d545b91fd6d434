// libFuzzer target: PNG decoding, the colour key and the mip chain on
// arbitrary bytes. The first four bytes pick the key.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gfx/png_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const platform::D3DCOLOR key = (platform::D3DCOLOR(data[0]) << 24) | (data[1] << 16) |
                                   (data[2] << 8) | data[3];
    platform::gfx::MipLevel image;
    bool alpha = false;
    if (!platform::gfx::decodePng(data + 4, size - 4, image, alpha)) return 0;
    if (image.rgba.size() != std::size_t(image.width) * image.height * 4) std::abort();
    // Keep the mip chain affordable on huge pictures.
    if (std::size_t(image.width) * image.height > (1u << 22)) return 0;
    platform::gfx::applyColorKey(image, key);
    const auto chain = platform::gfx::buildMipChain(std::move(image));
    const auto& last = chain.back();
    if (last.width != 1 || last.height != 1 || last.rgba.size() != 4) std::abort();
    return 0;
}
