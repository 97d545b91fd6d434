// PNG reading for the pack's checks.
#include "check/png_check.h"

#include <png.h>

#include <cstdio>

namespace assetgen {

uint32_t PngImage::argb(int x, int y) const {
  const uint8_t* p = &pixels[(size_t(y) * width + x) * channels];
  uint32_t a = channels == 4 ? p[3] : 255;
  return a << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

bool readPng(const std::string& path, PngImage& out, std::string& error) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = "cannot open";
    return false;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    error = "not a readable PNG";
    return false;
  }
  png_init_io(png, f);
  png_read_info(png, info);
  out.width = int(png_get_image_width(png, info));
  out.height = int(png_get_image_height(png, info));
  out.bitDepth = png_get_bit_depth(png, info);
  int type = png_get_color_type(png, info);
  out.channels = type == PNG_COLOR_TYPE_RGB ? 3 : type == PNG_COLOR_TYPE_RGBA ? 4 : 0;
  if (out.channels == 0 || out.bitDepth != 8) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    error = "not 8-bit RGB or RGBA";
    return false;
  }
  out.pixels.resize(size_t(out.width) * out.height * out.channels);
  std::vector<png_bytep> rows(out.height);
  for (int y = 0; y < out.height; ++y) rows[y] = &out.pixels[size_t(y) * out.width * out.channels];
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return true;
}

}  // namespace assetgen
