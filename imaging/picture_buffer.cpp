// PictureBuffer: allocation within the engine's limits, and whole-picture
// depth conversions through the engine's one pixel converter.
#include "imaging/picture_buffer.h"

#include <cstring>

#include "imaging/picture_limits.h"
#include "imaging/pixel_conversion.h"

namespace {

// The mark an allocated buffer's descriptor has always carried, kept byte for
// byte because the descriptor's layout is the engine's stored form; the letters
// stand for nothing else.
constexpr char kAllocatedMark[6] = {'w', 's', 'i', '1', '0', '\0'};

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
  std::memcpy(signature_, kAllocatedMark, sizeof signature_);
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

PixelLayout PictureBuffer::layout() const {
  switch (bits_per_pixel_) {
    case 24: return PixelLayout::kRgb24;
    case 32: return PixelLayout::kArgb32;
    default: return palette_count_ > 0 ? PixelLayout::kPalette8 : PixelLayout::kGray8;
  }
}

// A source already at the target depth with the same meaning (24 to 24,
// gray to gray) is copied.
bool PictureBuffer::ConvertInto(PictureBuffer& target, int32_t target_bits,
                                const PaletteEntry* palette) const {
  // Reduced-palette targets are not supported; neither is converting into
  // oneself or from an empty or 16-bit picture.
  if (palette != nullptr || &target == this || !allocated()) return false;
  if (target_bits != 24 && target_bits != 8) return false;
  if (bits_per_pixel_ != 8 && bits_per_pixel_ != 24 && bits_per_pixel_ != 32) return false;
  const PixelConverter converter(layout(), palette_, target_bits == 24 ? PixelLayout::kRgb24 : PixelLayout::kGray8);
  if (converter.identity()) return target.CopyFrom(*this);
  if (!target.Allocate(width_, height_, target_bits, 0)) return false;
  converter.ConvertRows(pixels(), stride(), target.pixels(), target.stride(), static_cast<size_t>(width_), height_);
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
