// The one home of pixel conversion: rows of any layout a reader hands out
// become the encoder's input, 24-bit RGB or 8-bit gray. The streaming
// conversion applies it strip by strip, the picture buffer to whole
// pictures, so both paths give the same bytes.
//
// Rules. To RGB: a palette index becomes its entry's colour, a gray level is
// repeated three times, an alpha byte is dropped (no blending). To gray: the
// weighted gray (306 R + 601 G + 117 B) >> 10 of the pixel or its palette
// entry; a gray level stays as it is.
//
// Flattening, asked for with a background colour: a pixel the picture's
// alpha (or its palette entry's alpha) makes transparent is laid on that
// colour, (colour * alpha + background * (255 - alpha) + 127) / 255 per
// channel (colours already multiplied by their alpha are not multiplied
// again), before it becomes RGB or gray. A picture without alpha is
// converted as without a background.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/pixel_layout.h"
#include "imaging/readers/picture_description.h"

struct RgbColour {
  uint8_t red, green, blue;
};

class PixelConverter {
 public:
  // `palette` (256 entries) is read only for kPalette8 and copied; `to` must
  // be kRgb24 or kGray8, else the converter is not valid().
  PixelConverter(PixelLayout from, const PaletteEntry* palette, PixelLayout to);
  // The rows of the picture a reader describes, laid on `background` when
  // it is not null.
  PixelConverter(const PictureDescription& picture, PixelLayout to, const RgbColour* background);

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
  // kArgb32 pixels are laid on background_ (a palette is flattened once,
  // when it is copied).
  bool flatten_alpha_ = false;
  bool premultiplied_ = false;
  RgbColour background_ = {};
  PaletteEntry palette_[256] = {};
  uint8_t gray_of_index_[256] = {};  // weighted gray of each palette entry
};
