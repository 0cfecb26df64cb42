// What the headers of a BMP file say, checked: the picture's size and row
// order, how its pixels are stored, its palette, where its pixels start and
// where an embedded colour profile lies. The BMP reader decodes from this;
// nothing here reads pixels.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/pixel_layout.h"
#include "imaging/readers/stdio_file.h"

enum class BmpCoding : uint8_t { kPlain, kRle8, kRle4 };

struct BmpHeader {
  int32_t width = 0;
  int32_t height = 0;  // rows, always positive
  bool bottom_up = true;
  unsigned bits = 0;  // 1, 4, 8, 16, 24 or 32 per stored pixel
  BmpCoding coding = BmpCoding::kPlain;
  // Red, green, blue and alpha masks of a 16- or 32-bit pixel (alpha 0: no
  // alpha). Each is a non-empty run of bits; none overlap.
  uint32_t masks[4] = {};
  // Entries read from the file for 1, 4 and 8 bits; the rest stay zero.
  int32_t palette_count = 0;
  PaletteEntry palette[256] = {};
  uint32_t pixel_offset = 0;
  int64_t file_size = 0;
  // The colour profile embedded in the file, as stored; empty when there is
  // none or it is not a well-formed profile.
  std::string profile;

  bool has_alpha() const { return masks[3] != 0; }
  // The layout the reader hands out.
  PixelLayout layout() const;
  // Bytes of one stored row of a plain picture, padded to four bytes.
  uint64_t file_row_bytes() const { return (static_cast<uint64_t>(width) * bits + 31) / 32 * 4; }
};

// Reads and checks both headers, the bit-field masks and the palette of the
// file open in `file`. False when it is not a BMP file or one this reader
// refuses: an unknown header or coding, an empty, overlapping or scattered
// mask, a palette of no entries, pixels said to start inside the headers,
// a size beyond the engine's limits.
bool ReadBmpHeader(StdioFile& file, BmpHeader* header);
