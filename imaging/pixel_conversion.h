// The one home of pixel conversion: rows of any layout a reader hands out
// become the encoder's input, 24-bit RGB or 8-bit gray. The streaming
// conversion applies it strip by strip, the picture buffer to whole
// pictures, so both paths give the same bytes.
//
// Rules. To RGB: a palette index becomes its entry's colour, a gray level is
// repeated three times, an alpha byte is dropped (no blending). To gray: the
// weighted gray (306 R + 601 G + 117 B) >> 10 of the pixel or its palette
// entry; a gray level stays as it is.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/pixel_layout.h"

class PixelConverter {
 public:
  // `palette` (256 entries) is read only for kPalette8 and copied; `to` must
  // be kRgb24 or kGray8, else the converter is not valid().
  PixelConverter(PixelLayout from, const PaletteEntry* palette, PixelLayout to);

  bool valid() const { return valid_; }
  // True when rows need no conversion at all: the same layout in and out.
  bool identity() const { return from_ == to_; }
  PixelLayout to() const { return to_; }

  // Converts `rows` rows of `width` pixels, each `in_stride` and
  // `out_stride` bytes apart. Input and output must not overlap.
  void ConvertRows(const uint8_t* in, size_t in_stride, uint8_t* out, size_t out_stride, size_t width,
                   int32_t rows) const;

 private:
  void ConvertRow(const uint8_t* in, uint8_t* out, size_t width) const;

  PixelLayout from_;
  PixelLayout to_;
  bool valid_ = false;
  PaletteEntry palette_[256] = {};
  uint8_t gray_of_index_[256] = {};  // weighted gray of each palette entry
};
