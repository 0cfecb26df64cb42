// Flattening in the one conversion home: every layout with and without
// alpha, to RGB and to gray, laid on a background or with its alpha
// dropped. Three pixels: transparent, half transparent, opaque.
#include "imaging/pixel_conversion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr RgbColour kBackground = {20, 40, 80};
// Colour (200, 100, 50) at alpha 0, 128 and 255, stored straight and
// multiplied by its alpha.
const Bytes kArgb = {0, 200, 100, 50, 128, 200, 100, 50, 255, 200, 100, 50};
const Bytes kPremultiplied = {0, 0, 0, 0, 128, 100, 50, 25, 255, 200, 100, 50};
const Bytes kOnBackground = {20, 40, 80, 110, 70, 65, 200, 100, 50};
const Bytes kDropped = {200, 100, 50, 200, 100, 50, 200, 100, 50};
// Weighted gray of the colours above: (306 R + 601 G + 117 B) >> 10.
const Bytes kGrayOnBackground = {38, 81, 124};
const Bytes kGrayDropped = {124, 124, 124};

// Palette entries 0..2: the colour at the three alphas; 3 another colour,
// transparent in palette_alpha but past palette_alpha_count.
PictureDescription Picture(PixelLayout layout, int32_t palette_alpha_count, bool premultiplied) {
  PictureDescription picture;
  picture.width = 3;
  picture.height = 1;
  picture.layout = layout;
  picture.alpha_premultiplied = premultiplied;
  picture.palette_count = 4;
  for (int i = 0; i < 3; ++i) picture.palette[i] = PaletteEntry{200, 100, 50, 0};
  picture.palette[3] = PaletteEntry{1, 2, 3, 0};
  const uint8_t alphas[] = {0, 128, 255, 0};
  for (int i = 0; i < 4; ++i) picture.palette_alpha[i] = alphas[i];
  picture.palette_alpha_count = palette_alpha_count;
  return picture;
}

}  // namespace

TEST(PixelConverter, FlattensTransparentPixelsOnlyWhenAskedTo) {
  constexpr PixelLayout kArgb32 = PixelLayout::kArgb32, kPalette8 = PixelLayout::kPalette8,
                        kRgb24 = PixelLayout::kRgb24, kGray8 = PixelLayout::kGray8;
  const struct Case {
    const char* what;
    PixelLayout layout;
    int32_t palette_alpha_count;
    bool premultiplied, flatten;
    PixelLayout to;
    Bytes in, want;
  } cases[] = {
      {"ARGB laid on the background", kArgb32, 0, false, true, kRgb24, kArgb, kOnBackground},
      {"ARGB to gray laid on the background", kArgb32, 0, false, true, kGray8, kArgb, kGrayOnBackground},
      {"premultiplied ARGB laid on the background", kArgb32, 0, true, true, kRgb24, kPremultiplied, kOnBackground},
      {"premultiplied ARGB to gray", kArgb32, 0, true, true, kGray8, kPremultiplied, kGrayOnBackground},
      {"ARGB alpha dropped without flattening", kArgb32, 0, false, false, kRgb24, kArgb, kDropped},
      {"ARGB to gray alpha dropped", kArgb32, 0, false, false, kGray8, kArgb, kGrayDropped},
      {"palette laid on the background", kPalette8, 3, false, true, kRgb24, {0, 1, 2}, kOnBackground},
      {"palette to gray laid on the background", kPalette8, 3, false, true, kGray8, {0, 1, 2}, kGrayOnBackground},
      {"palette alpha dropped", kPalette8, 3, false, false, kRgb24, {0, 1, 2}, kDropped},
      {"palette entries past the alpha count are opaque", kPalette8, 3, false, true, kRgb24, {0, 1, 3},
       {20, 40, 80, 110, 70, 65, 1, 2, 3}},
      {"palette without alpha", kPalette8, 0, false, true, kRgb24, {0, 2, 3}, {200, 100, 50, 200, 100, 50, 1, 2, 3}},
      {"gray has nothing to lay", kGray8, 0, false, true, kRgb24, {0, 128, 255},
       {0, 0, 0, 128, 128, 128, 255, 255, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PictureDescription picture = Picture(c.layout, c.palette_alpha_count, c.premultiplied);
    const PixelConverter converter(picture, c.to, c.flatten ? &kBackground : nullptr);
    ASSERT_TRUE(converter.valid());
    Bytes out(c.want.size(), 0xEE);
    converter.ConvertRows(c.in.data(), c.in.size(), out.data(), out.size(), 3, 1);
    EXPECT_EQ(out, c.want);
  }
}
