// Limits that every reader applies right after its header, before anything
// is allocated, so that a hostile header cannot make the engine overflow,
// exhaust the address space or spend minutes on a picture it cannot hold.
#pragma once

#include <cstddef>
#include <cstdint>

// The most pixels a picture may have (16384 x 16384).
inline constexpr uint64_t kMaxPicturePixels = uint64_t{1} << 28;

// The largest single mapping the engine asks for. A 32-bit process has 2 GiB
// of address space in all, in pieces; a 64-bit one is limited by the pixel
// count alone.
inline constexpr uint64_t kMaxMappedBytes =
    sizeof(void*) == 4 ? (uint64_t{1} << 30) : (uint64_t{1} << 34);

// True when a*b cannot overflow 64 bits and the product is at most `max`.
inline bool CheckedMultiply(uint64_t a, uint64_t b, uint64_t max, uint64_t* product) {
  if (a != 0 && b > max / a) return false;
  *product = a * b;
  return true;
}

// True when a picture of width x height pixels, each `bytes_per_pixel`
// bytes, is within both limits. Width and height must be at least 1.
inline bool PictureFitsLimits(int64_t width, int64_t height, unsigned bytes_per_pixel) {
  if (width < 1 || height < 1) return false;
  uint64_t pixels = 0, bytes = 0;
  return CheckedMultiply(static_cast<uint64_t>(width), static_cast<uint64_t>(height),
                         kMaxPicturePixels, &pixels) &&
         CheckedMultiply(pixels, bytes_per_pixel, kMaxMappedBytes, &bytes) &&
         bytes <= SIZE_MAX;
}
