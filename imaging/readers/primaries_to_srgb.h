// PrimariesToSrgb: colours a file describes by their primaries, white point
// and transfer curve (the coded description HEIF and AVIF files carry in
// place of a profile) converted to sRGB with Little CMS. A JPEG without a
// profile is shown as sRGB, so a wide-gamut picture would otherwise look
// washed out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Chromaticities (CIE x, y) and the transfer characteristics code of the
// coded description: 1, 6, 14 and 15 are the BT.709 curve, 4 and 5 plain
// gammas of 2.2 and 2.8, 8 linear; every other code, sRGB's 13 and the
// high-dynamic-range curves among them, is taken as the sRGB curve (no
// tone mapping).
struct ColourPrimaries {
  double red_x, red_y, green_x, green_y, blue_x, blue_y, white_x, white_y;
  uint16_t transfer;
};

struct ColourTransform;

class PrimariesToSrgb {
 public:
  PrimariesToSrgb();
  ~PrimariesToSrgb();
  PrimariesToSrgb(const PrimariesToSrgb&) = delete;
  PrimariesToSrgb& operator=(const PrimariesToSrgb&) = delete;

  // Builds the transform for 8-bit pixels of red, green and blue, after an
  // alpha byte when `alpha_first` (the alpha is copied). False when the
  // primaries make no valid profile.
  bool Prepare(const ColourPrimaries& colours, bool alpha_first);

  // Converts `count` rows of `width` pixels, `stride` bytes apart, in place.
  void ConvertRows(uint8_t* rows, size_t stride, int32_t width, int32_t count) const;

  // What the transform holds: its profiles and precalculated tables.
  static constexpr uint64_t kWorkingBytes = 1 << 20;

 private:
  std::unique_ptr<ColourTransform> transform_;
};
