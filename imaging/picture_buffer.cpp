// PictureBuffer: allocation within the engine's limits, and the depth
// conversions the JPEG writer needs. The conversions run over whole
// multi-megapixel pictures, so each is a plain loop over a row.
#include "imaging/picture_buffer.h"

#include <cstring>

#include "imaging/picture_limits.h"

namespace {

constexpr char kSignature[6] = {'w', 's', 'i', '1', '0', '\0'};

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

void RgbToGray(const uint8_t* in, uint8_t* out, size_t count, size_t in_step, size_t red_at) {
  in += red_at;
  for (size_t x = 0; x < count; ++x, in += in_step) out[x] = GrayOf(in[0], in[1], in[2]);
}

void PaletteToGray(const uint8_t* in, uint8_t* out, size_t count, const uint8_t* gray_of_index) {
  for (size_t x = 0; x < count; ++x) out[x] = gray_of_index[in[x]];
}

}  // namespace

bool PictureBuffer::Allocate(int32_t width, int32_t height, int32_t bits_per_pixel,
                             int32_t palette_count) {
  Release();
  if (bits_per_pixel != 8 && bits_per_pixel != 16 && bits_per_pixel != 24 && bits_per_pixel != 32)
    return false;
  // Only 8-bit pictures have a palette.
  if (palette_count < 0 || palette_count > 256 || (palette_count != 0 && bits_per_pixel != 8))
    return false;
  const unsigned bytes_per_pixel = static_cast<unsigned>(bits_per_pixel) / 8;
  if (!PictureFitsLimits(width, height, bytes_per_pixel)) return false;

  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * bytes_per_pixel;
  if (!pixels_.Allocate(bytes)) return false;
  std::memcpy(signature_, kSignature, sizeof signature_);
  width_ = width;
  height_ = height;
  bits_per_pixel_ = bits_per_pixel;
  palette_count_ = palette_count;
  return true;
}

void PictureBuffer::Release() {
  pixels_.Release();
  std::memset(signature_, 0, sizeof signature_);
  width_ = height_ = bits_per_pixel_ = palette_count_ = 0;
  std::memset(palette_, 0, sizeof palette_);
}

int64_t PictureBuffer::total_size() const {
  if (!allocated()) return 0;
  return static_cast<int64_t>(pixels_.size()) + kDescriptorSize;
}

// Conversion rules. To 24 bits: a palette index becomes its entry's red,
// green, blue; a gray level is repeated three times; a 32-bit pixel keeps its
// last three bytes. To 8 bits without palette: the weighted gray of the
// pixel or of its palette entry. A source already at the target depth with
// the same meaning (24 to 24, gray to gray) is copied.
bool PictureBuffer::ConvertInto(PictureBuffer& target, int32_t target_bits,
                                const PaletteEntry* palette) const {
  // Reduced-palette targets are not supported; neither is converting into
  // oneself or from an empty or 16-bit picture.
  if (palette != nullptr || &target == this || !allocated()) return false;
  if (target_bits != 24 && target_bits != 8) return false;
  const int32_t source_bits = bits_per_pixel_;
  if (source_bits != 8 && source_bits != 24 && source_bits != 32) return false;
  const bool paletted = source_bits == 8 && palette_count_ > 0;

  // Same depth and same meaning of the bytes: a plain copy.
  if (source_bits == target_bits && !paletted) return target.CopyFrom(*this);
  if (!target.Allocate(width_, height_, target_bits, 0)) return false;

  uint8_t gray_of_index[256];
  if (paletted)
    for (int i = 0; i < 256; ++i)
      gray_of_index[i] = GrayOf(palette_[i].red, palette_[i].green, palette_[i].blue);

  const size_t count = static_cast<size_t>(width_);
  for (int32_t y = 0; y < height_; ++y) {
    const uint8_t* in = row(y);
    uint8_t* out = target.row(y);
    if (target_bits == 24) {
      if (paletted)
        PaletteToRgb(in, out, count, palette_);
      else if (source_bits == 8)
        GrayToRgb(in, out, count);
      else
        ArgbToRgb(in, out, count);
    } else {
      if (paletted)
        PaletteToGray(in, out, count, gray_of_index);
      else if (source_bits == 24)
        RgbToGray(in, out, count, 3, 0);
      else
        RgbToGray(in, out, count, 4, 1);
    }
  }
  return true;
}

bool PictureBuffer::CopyFrom(const PictureBuffer& other) {
  if (&other == this) return true;
  if (!other.allocated()) {
    Release();
    return true;
  }
  if (!Allocate(other.width_, other.height_, other.bits_per_pixel_, other.palette_count_))
    return false;
  std::memcpy(pixels_.data(), other.pixels_.data(), other.pixels_.size());
  std::memcpy(palette_, other.palette_, sizeof palette_);
  return true;
}
