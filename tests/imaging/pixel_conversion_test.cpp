// Flattening in the one conversion home: alpha straight and premultiplied,
// palette alpha, to RGB and to gray, laid on a background or dropped.
// Three pixels: transparent, half transparent, opaque.
#include "imaging/pixel_conversion.h"

#include <gtest/gtest.h>

#include <vector>

TEST(PixelConverter, FlattensTransparentPixelsOnlyWhenAskedTo) {
  using Bytes = std::vector<uint8_t>;
  constexpr RgbColour kBackground = {20, 40, 80};
  // (200, 100, 50) at alpha 0, 128 and 255, stored straight and multiplied
  // by its alpha; laid on the background; its weighted gray.
  const Bytes argb = {0, 200, 100, 50, 128, 200, 100, 50, 255, 200, 100, 50};
  const Bytes premultiplied = {0, 0, 0, 0, 128, 100, 50, 25, 255, 200, 100, 50};
  const Bytes laid = {20, 40, 80, 110, 70, 65, 200, 100, 50}, laid_gray = {38, 81, 124};
  // Palette entries 0..2: the colour at the three alphas; entry 3 is
  // transparent in palette_alpha but past palette_alpha_count.
  PictureDescription palette;
  palette.layout = PixelLayout::kPalette8;
  palette.palette_count = 4;
  for (int i = 0; i < 3; ++i) palette.palette[i] = PaletteEntry{200, 100, 50, 0};
  palette.palette[3] = PaletteEntry{1, 2, 3, 0};
  palette.palette_alpha[1] = 128;
  palette.palette_alpha[2] = 255;
  palette.palette_alpha_count = 3;
  PictureDescription straight, multiplied;
  straight.layout = multiplied.layout = PixelLayout::kArgb32;
  multiplied.alpha_premultiplied = true;

  const struct {
    const char* what;
    const PictureDescription& picture;
    bool flatten, gray;
    Bytes in, want;
  } cases[] = {
      {"ARGB laid on the background", straight, true, false, argb, laid},
      {"ARGB to gray", straight, true, true, argb, laid_gray},
      {"premultiplied ARGB", multiplied, true, false, premultiplied, laid},
      {"ARGB alpha dropped", straight, false, true, argb, {124, 124, 124}},
      {"palette to gray", palette, true, true, {0, 1, 2}, laid_gray},
      {"palette alpha dropped", palette, false, false, {0, 1, 2}, {200, 100, 50, 200, 100, 50, 200, 100, 50}},
      {"palette entries past the alpha count", palette, true, false, {0, 1, 3}, {20, 40, 80, 110, 70, 65, 1, 2, 3}},
  };
  for (const auto& c : cases) {
    const PixelConverter converter(c.picture, c.gray ? PixelLayout::kGray8 : PixelLayout::kRgb24,
                                   c.flatten ? &kBackground : nullptr);
    Bytes out(c.want.size(), 0xEE);
    converter.ConvertRows(c.in.data(), c.in.size(), out.data(), out.size(), 3, 1);
    EXPECT_EQ(out, c.want) << c.what;
  }
}
