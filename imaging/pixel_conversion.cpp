// The conversions run over every pixel of multi-megapixel pictures, so each
// is a plain loop over one row with the layout chosen once per row.
#include "imaging/pixel_conversion.h"

#include <algorithm>
#include <cstring>

namespace {

// Weighted gray of one colour, weights out of 1024, truncated.
inline uint8_t GrayOf(unsigned red, unsigned green, unsigned blue) {
  return static_cast<uint8_t>((306 * red + 601 * green + 117 * blue) >> 10);
}

void PaletteToRgb(const uint8_t* in, uint8_t* out, size_t count, const PaletteEntry* palette) {
  for (size_t x = 0; x < count; ++x, out += 3) {
    const PaletteEntry& entry = palette[in[x]];
    out[0] = entry.red;
    out[1] = entry.green;
    out[2] = entry.blue;
  }
}

void GrayToRgb(const uint8_t* in, uint8_t* out, size_t count) {
  for (size_t x = 0; x < count; ++x, out += 3) out[0] = out[1] = out[2] = in[x];
}

// The first byte of a 32-bit pixel is alpha or unused; it is dropped.
void ArgbToRgb(const uint8_t* in, uint8_t* out, size_t count) {
  for (size_t x = 0; x < count; ++x, in += 4, out += 3) {
    out[0] = in[1];
    out[1] = in[2];
    out[2] = in[3];
  }
}

// One channel of a pixel laid on the background: a straight colour is
// multiplied by its alpha here, a premultiplied one already was.
template <bool kPremultiplied>
inline uint8_t Blend(unsigned colour, unsigned alpha, unsigned background) {
  const unsigned sum = (kPremultiplied ? colour * 255 : colour * alpha) + background * (255 - alpha) + 127;
  // A damaged premultiplied colour may exceed its alpha.
  return static_cast<uint8_t>(sum >= 255 * 256 ? 255 : sum / 255);
}

template <bool kPremultiplied>
void ArgbOnBackgroundToRgb(const uint8_t* in, uint8_t* out, size_t count, RgbColour background) {
  for (size_t x = 0; x < count; ++x, in += 4, out += 3) {
    const unsigned alpha = in[0];
    out[0] = Blend<kPremultiplied>(in[1], alpha, background.red);
    out[1] = Blend<kPremultiplied>(in[2], alpha, background.green);
    out[2] = Blend<kPremultiplied>(in[3], alpha, background.blue);
  }
}

template <bool kPremultiplied>
void ArgbOnBackgroundToGray(const uint8_t* in, uint8_t* out, size_t count, RgbColour background) {
  for (size_t x = 0; x < count; ++x, in += 4) {
    const unsigned alpha = in[0];
    out[x] = GrayOf(Blend<kPremultiplied>(in[1], alpha, background.red),
                    Blend<kPremultiplied>(in[2], alpha, background.green),
                    Blend<kPremultiplied>(in[3], alpha, background.blue));
  }
}

void RgbToGray(const uint8_t* in, uint8_t* out, size_t count, size_t in_step, size_t red_at) {
  in += red_at;
  for (size_t x = 0; x < count; ++x, in += in_step) out[x] = GrayOf(in[0], in[1], in[2]);
}

void IndexToGray(const uint8_t* in, uint8_t* out, size_t count, const uint8_t* gray_of_index) {
  for (size_t x = 0; x < count; ++x) out[x] = gray_of_index[in[x]];
}

}  // namespace

PixelConverter::PixelConverter(PixelLayout from, const PaletteEntry* palette, PixelLayout to)
    : from_(from), to_(to) {
  valid_ = (to == PixelLayout::kRgb24 || to == PixelLayout::kGray8) &&
           (from != PixelLayout::kPalette8 || palette != nullptr);
  if (valid_ && from == PixelLayout::kPalette8) {
    std::memcpy(palette_, palette, sizeof palette_);
    for (int i = 0; i < 256; ++i) gray_of_index_[i] = GrayOf(palette_[i].red, palette_[i].green, palette_[i].blue);
  }
}

PixelConverter::PixelConverter(const PictureDescription& picture, PixelLayout to, const RgbColour* background)
    : PixelConverter(picture.layout, picture.palette, to) {
  if (!valid_ || background == nullptr) return;
  background_ = *background;
  flatten_alpha_ = from_ == PixelLayout::kArgb32;
  premultiplied_ = picture.alpha_premultiplied;
  if (from_ != PixelLayout::kPalette8) return;
  // A palette is laid on the background once, entry by entry.
  const int alpha_count = std::clamp(picture.palette_alpha_count, 0, 256);
  for (int i = 0; i < alpha_count; ++i) {
    PaletteEntry& entry = palette_[i];
    const unsigned alpha = picture.palette_alpha[i];
    entry.red = Blend<false>(entry.red, alpha, background_.red);
    entry.green = Blend<false>(entry.green, alpha, background_.green);
    entry.blue = Blend<false>(entry.blue, alpha, background_.blue);
    gray_of_index_[i] = GrayOf(entry.red, entry.green, entry.blue);
  }
}

void PixelConverter::ConvertRow(const uint8_t* in, uint8_t* out, size_t width) const {
  if (identity()) {
    std::memcpy(out, in, RowBytes(from_, static_cast<int32_t>(width)));
    return;
  }
  if (to_ == PixelLayout::kRgb24) {
    switch (from_) {
      case PixelLayout::kPalette8: PaletteToRgb(in, out, width, palette_); break;
      case PixelLayout::kGray8: GrayToRgb(in, out, width); break;
      case PixelLayout::kArgb32:
        if (!flatten_alpha_) ArgbToRgb(in, out, width);
        else if (premultiplied_) ArgbOnBackgroundToRgb<true>(in, out, width, background_);
        else ArgbOnBackgroundToRgb<false>(in, out, width, background_);
        break;
      case PixelLayout::kRgb24: break;
    }
    return;
  }
  switch (from_) {
    case PixelLayout::kPalette8: IndexToGray(in, out, width, gray_of_index_); break;
    case PixelLayout::kRgb24: RgbToGray(in, out, width, 3, 0); break;
    case PixelLayout::kArgb32:
      if (!flatten_alpha_) RgbToGray(in, out, width, 4, 1);
      else if (premultiplied_) ArgbOnBackgroundToGray<true>(in, out, width, background_);
      else ArgbOnBackgroundToGray<false>(in, out, width, background_);
      break;
    case PixelLayout::kGray8: break;
  }
}

void PixelConverter::ConvertRows(const uint8_t* in, size_t in_stride, uint8_t* out, size_t out_stride,
                                 size_t width, int32_t rows) const {
  for (int32_t y = 0; y < rows; ++y, in += in_stride, out += out_stride) ConvertRow(in, out, width);
}
