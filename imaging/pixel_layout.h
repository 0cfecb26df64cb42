// The pixel layouts that travel through the engine, from the readers'
// strips through the picture buffer to the encoder's input. One row of a
// layout is exactly width * BytesPerPixel bytes, with no padding.
//
//   kGray8     one gray level a pixel
//   kPalette8  one palette index a pixel
//   kRgb24     red, green, blue
//   kArgb32    alpha, red, green, blue (a reader without alpha hands out
//              kRgb24)
#pragma once

#include <cstddef>
#include <cstdint>

struct PaletteEntry {
  uint8_t red, green, blue, reserved;
};

enum class PixelLayout : uint8_t { kGray8, kPalette8, kRgb24, kArgb32 };

constexpr int32_t BytesPerPixel(PixelLayout layout) {
  return layout == PixelLayout::kRgb24 ? 3 : layout == PixelLayout::kArgb32 ? 4 : 1;
}

constexpr size_t RowBytes(PixelLayout layout, int32_t width) {
  return static_cast<size_t>(width) * static_cast<size_t>(BytesPerPixel(layout));
}
