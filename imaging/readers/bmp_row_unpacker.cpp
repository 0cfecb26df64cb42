// The unpacking runs over every pixel of large pictures: one plain loop per
// depth, with the bit fields' scaling looked up in small tables made once.
#include "imaging/readers/bmp_row_unpacker.h"

namespace {

// Indices of `bits` (1, 4 or 8) packed from the high bits of each byte.
void UnpackIndices(const uint8_t* stored, uint8_t* out, int32_t width, unsigned bits) {
  if (bits == 8) {
    for (int32_t x = 0; x < width; ++x) out[x] = stored[x];
    return;
  }
  const unsigned per_byte = 8 / bits, mask = (1u << bits) - 1;
  for (int32_t x = 0; x < width; ++x) {
    const unsigned at = static_cast<unsigned>(x) % per_byte;
    out[x] = static_cast<uint8_t>((stored[x / per_byte] >> (8 - bits * (at + 1))) & mask);
  }
}

void BgrToRgb(const uint8_t* in, uint8_t* out, int32_t width) {
  for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
  }
}

}  // namespace

BmpRowUnpacker::BmpRowUnpacker(const BmpHeader& header)
    : width_(header.width), bits_(header.bits), alpha_(header.has_alpha()) {
  if (bits_ == 16 || bits_ == 32)
    for (int i = 0; i < 4; ++i) fields_[i] = MakeField(header.masks[i]);
}

// A field of n bits keeps its top min(n, 8) bits; those of fewer than
// eight are spread over 0..255 with rounding, so that the largest value is
// full intensity.
BmpRowUnpacker::Field BmpRowUnpacker::MakeField(uint32_t mask) {
  Field field;
  if (mask == 0) return field;
  unsigned low = 0, bits = 0;
  while (((mask >> low) & 1) == 0) ++low;
  while (low + bits < 32 && ((mask >> (low + bits)) & 1) != 0) ++bits;
  const unsigned kept = bits < 8 ? bits : 8;
  field.shift = low + bits - kept;
  field.top = (1u << kept) - 1;
  for (uint32_t value = 0; value <= field.top; ++value)
    field.level[value] = static_cast<uint8_t>((value * 255 + field.top / 2) / field.top);
  return field;
}

void BmpRowUnpacker::UnpackFields(const uint8_t* stored, uint8_t* out) const {
  const unsigned step = bits_ / 8;
  for (int32_t x = 0; x < width_; ++x, stored += step) {
    const uint32_t pixel = bits_ == 16 ? LoadLittle16(stored) : LoadLittle32(stored);
    if (alpha_) *out++ = fields_[3].Of(pixel);
    out[0] = fields_[0].Of(pixel);
    out[1] = fields_[1].Of(pixel);
    out[2] = fields_[2].Of(pixel);
    out += 3;
  }
}

void BmpRowUnpacker::Unpack(const uint8_t* stored, uint8_t* out) const {
  if (bits_ <= 8)
    UnpackIndices(stored, out, width_, bits_);
  else if (bits_ == 24)
    BgrToRgb(stored, out, width_);
  else
    UnpackFields(stored, out);
}
