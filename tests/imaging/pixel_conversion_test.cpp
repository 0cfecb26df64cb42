// Flattening in the one conversion home: every layout with and without
// alpha, to RGB and to gray, laid on a background or with its alpha
// dropped. Three pixels: transparent, half transparent, opaque.
#include "imaging/pixel_conversion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr RgbColour kBackground = {20, 40, 80};
// Colour (200, 100, 50) at alpha 0, 128 and 255.
const Bytes kArgb = {0, 200, 100, 50, 128, 200, 100, 50, 255, 200, 100, 50};
const Bytes kOnBackground = {20, 40, 80, 110, 70, 65, 200, 100, 50};
const Bytes kDropped = {200, 100, 50, 200, 100, 50, 200, 100, 50};
// Weighted gray of the colours above: (306 R + 601 G + 117 B) >> 10.
const Bytes kGrayOnBackground = {38, 81, 124};
const Bytes kGrayDropped = {124, 124, 124};

PictureDescription Picture(PixelLayout layout, bool alpha) {
  PictureDescription picture;
  picture.width = 3;
  picture.height = 1;
  picture.layout = layout;
  picture.alpha = alpha;
  // Entries 0..2: the colour at the three alphas; 3 another, opaque.
  picture.palette_count = 4;
  for (int i = 0; i < 3; ++i) picture.palette[i] = PaletteEntry{200, 100, 50, 0};
  picture.palette[3] = PaletteEntry{1, 2, 3, 0};
  const uint8_t alphas[] = {0, 128, 255, 255};
  for (int i = 0; i < 4; ++i) picture.palette_alpha[i] = alphas[i];
  return picture;
}

}  // namespace

TEST(PixelConverter, FlattensOnlyPicturesWithAlphaWhenAskedTo) {
  const struct Case {
    const char* what;
    PixelLayout layout;
    bool alpha;
    bool flatten;
    PixelLayout to;
    Bytes in, want;
  } cases[] = {
      {"ARGB laid on the background", PixelLayout::kArgb32, true, true, PixelLayout::kRgb24, kArgb, kOnBackground},
      {"ARGB to gray laid on the background", PixelLayout::kArgb32, true, true, PixelLayout::kGray8, kArgb,
       kGrayOnBackground},
      {"ARGB alpha dropped without flattening", PixelLayout::kArgb32, true, false, PixelLayout::kRgb24, kArgb,
       kDropped},
      {"ARGB to gray alpha dropped", PixelLayout::kArgb32, true, false, PixelLayout::kGray8, kArgb, kGrayDropped},
      {"ARGB whose first byte is unused", PixelLayout::kArgb32, false, true, PixelLayout::kRgb24, kArgb, kDropped},
      {"palette laid on the background", PixelLayout::kPalette8, true, true, PixelLayout::kRgb24, {0, 1, 2},
       kOnBackground},
      {"palette to gray laid on the background", PixelLayout::kPalette8, true, true, PixelLayout::kGray8,
       {0, 1, 2}, kGrayOnBackground},
      {"palette alpha dropped", PixelLayout::kPalette8, true, false, PixelLayout::kRgb24, {0, 1, 2}, kDropped},
      {"opaque palette", PixelLayout::kPalette8, false, true, PixelLayout::kRgb24, {0, 1, 3},
       {200, 100, 50, 200, 100, 50, 1, 2, 3}},
      {"gray has nothing to lay", PixelLayout::kGray8, false, true, PixelLayout::kRgb24, {0, 128, 255},
       {0, 0, 0, 128, 128, 128, 255, 255, 255}},
      {"RGB has nothing to lay", PixelLayout::kRgb24, false, true, PixelLayout::kRgb24, kDropped, kDropped},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PictureDescription picture = Picture(c.layout, c.alpha);
    const PixelConverter converter(picture, c.to, c.flatten ? &kBackground : nullptr);
    ASSERT_TRUE(converter.valid());
    Bytes out(c.want.size(), 0xEE);
    converter.ConvertRows(c.in.data(), c.in.size(), out.data(), out.size(), 3, 1);
    EXPECT_EQ(out, c.want);
  }
}
