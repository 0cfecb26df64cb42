// The stream is pairs of bytes. A first byte n > 0 is a run: n pixels of
// the second byte (with 4 bits, its two halves in turn). A first byte 0 is
// an escape: 0 ends the row, 1 ends the picture, 2 moves right and up by
// the next two bytes, and n >= 3 is followed by n literal pixels, their
// bytes padded to an even count.
#include "imaging/readers/bmp_rle.h"

#include <algorithm>
#include <cstring>

namespace {

enum Escape : uint8_t { kEndOfRow = 0, kEndOfPicture = 1, kMove = 2 };

// The pixel `i` of a literal block from its bytes.
inline uint8_t LiteralPixel(const uint8_t* bytes, int i, bool four_bits) {
  if (!four_bits) return bytes[i];
  const uint8_t pair = bytes[i / 2];
  return static_cast<uint8_t>(i % 2 == 0 ? pair >> 4 : pair & 0x0F);
}

}  // namespace

bool DecodeBmpRle(FileByteSource& data, bool four_bits, int32_t width, int32_t height, uint8_t* pixels,
                  size_t stride, const CancelRequest& cancel) {
  for (int32_t y = 0; y < height; ++y) std::memset(pixels + static_cast<size_t>(y) * stride, 0, static_cast<size_t>(width));
  // x stays within 0..width; y counts stored rows from the bottom.
  int32_t x = 0, y = 0;
  uint8_t literal[256];
  while (y < height) {
    uint8_t code[2];
    if (!data.Read(code, 2)) return false;
    uint8_t* row = pixels + static_cast<size_t>(height - 1 - y) * stride;
    if (code[0] > 0) {
      // With 4 bits a run alternates the byte's two halves.
      const uint8_t even = four_bits ? code[1] >> 4 : code[1];
      const uint8_t odd = four_bits ? code[1] & 0x0F : code[1];
      const int32_t count = std::min<int32_t>(code[0], width - x);
      for (int i = 0; i < count; ++i) row[x + i] = i % 2 == 0 ? even : odd;
      x += count;
      continue;
    }
    switch (code[1]) {
      case kEndOfRow:
        x = 0;
        ++y;
        if (cancel.requested()) return false;
        break;
      case kEndOfPicture:
        return true;
      case kMove: {
        uint8_t move[2];
        if (!data.Read(move, 2)) return false;
        x = std::min<int32_t>(x + move[0], width);
        y += move[1];
        break;
      }
      default: {
        const int count = code[1];
        const size_t bytes = four_bits ? (count + 1) / 2 : count;
        if (!data.Read(literal, bytes + bytes % 2)) return false;
        const int32_t kept = std::min<int32_t>(count, width - x);
        for (int i = 0; i < kept; ++i) row[x + i] = LiteralPixel(literal, i, four_bits);
        x += kept;
      }
    }
  }
  return true;
}
