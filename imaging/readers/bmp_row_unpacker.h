// Turns one stored row of a plain BMP picture into a row of the layout the
// reader hands out: 1-, 4- and 8-bit pixels into palette indices, 24-bit
// ones from blue-green-red into RGB, 16- and 32-bit ones through their bit
// fields into RGB, or alpha and RGB when the file has an alpha mask.
#pragma once

#include <cstdint>

#include "imaging/readers/bmp_header.h"

class BmpRowUnpacker {
 public:
  explicit BmpRowUnpacker(const BmpHeader& header);

  // `stored` holds at least the row's file_row_bytes().
  void Unpack(const uint8_t* stored, uint8_t* out) const;

 private:
  // One bit field: the top eight (or fewer) of its bits, widened to 0..255.
  struct Field {
    unsigned shift = 0;
    uint32_t top = 0;       // mask of the kept bits after the shift
    uint8_t level[256] = {};
    uint8_t Of(uint32_t pixel) const { return level[(pixel >> shift) & top]; }
  };
  static Field MakeField(uint32_t mask);
  void UnpackFields(const uint8_t* stored, uint8_t* out) const;

  int32_t width_;
  unsigned bits_;
  bool alpha_;
  Field fields_[4];  // red, green, blue, alpha
};
