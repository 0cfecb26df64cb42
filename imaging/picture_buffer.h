// The engine's bitmap: what every reader decodes into and the JPEG writer
// reads from. Rows are stored top row first, each exactly
// width * bytes-per-pixel bytes with no padding, in a MappedBlock.
//
// Pixel layouts:  24 bits  red, green, blue
//                 32 bits  alpha (or unused), red, green, blue
//                  8 bits  palette index when there is a palette, else gray
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/mapped_block.h"
#include "imaging/pixel_layout.h"

class PictureBuffer {
 public:
  // Size of the descriptor counted into total_size().
  static constexpr int32_t kDescriptorSize = 32;

  PictureBuffer() = default;
  PictureBuffer(const PictureBuffer&) = delete;
  PictureBuffer& operator=(const PictureBuffer&) = delete;

  // Releases, then allocates width x height pixels of `bits_per_pixel` (8,
  // 16, 24 or 32) and, for 8 bits, `palette_count` palette entries (0 = a
  // grayscale picture). Fails for width or height below 1, another depth, a
  // palette count outside 0..256 or a picture beyond the engine's limits.
  bool Allocate(int32_t width, int32_t height, int32_t bits_per_pixel, int32_t palette_count);
  void Release();

  bool allocated() const { return pixels_.data() != nullptr; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t bits_per_pixel() const { return bits_per_pixel_; }
  int32_t palette_count() const { return palette_count_; }
  size_t stride() const { return static_cast<size_t>(width_) * (bits_per_pixel_ / 8); }
  // The layout of an allocated 8, 24 or 32-bit picture (8 bits: palette
  // indices when there is a palette, else gray).
  PixelLayout layout() const;
  int64_t total_size() const;  // pixel bytes + kDescriptorSize; 0 when empty
  const char* signature() const { return signature_; }

  uint8_t* pixels() const { return pixels_.data(); }
  uint8_t* row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * stride(); }
  PaletteEntry* palette() { return palette_; }
  const PaletteEntry* palette() const { return palette_; }

  // Allocates `target` at `target_bits` (24, or 8 without palette) and
  // converts every pixel into it by imaging/pixel_conversion.h. `palette` is
  // reserved for reduced-palette targets and must be null.
  bool ConvertInto(PictureBuffer& target, int32_t target_bits, const PaletteEntry* palette) const;

  // Makes this buffer an exact copy of `other`.
  bool CopyFrom(const PictureBuffer& other);

 private:
  char signature_[6] = {};
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bits_per_pixel_ = 0;
  int32_t palette_count_ = 0;
  PaletteEntry palette_[256] = {};
  MappedBlock pixels_;
};
