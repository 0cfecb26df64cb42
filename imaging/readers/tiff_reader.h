// TiffReader: TIFF pictures of any layout libtiff's RGBA interface decodes
// (palette, bilevel, 16-bit, CMYK, YCbCr, tiled, any compression libtiff
// has, the first page of many); floating-point samples are refused. Rows
// are gray for gray pictures, alpha in front of RGB for pictures with alpha
// (RGB colours multiplied by it where the interface does so), else RGB.
// Rows flow in windows of whole strips or rows of tiles, so that no strip
// is decoded twice; pictures stored with their first row at the bottom are
// decoded whole. The profile, XMP and EXIF directory are handed on.
#pragma once

#include <memory>
#include <vector>

#include "imaging/readers/picture_reader.h"

struct tiff;
struct TiffWindowState;

class TiffReader : public PictureReader {
 public:
  TiffReader();
  ~TiffReader() override;

 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override;
  bool DecodeWhole(uint8_t* pixels, size_t stride) override;
  void ReleaseDecoder() override;

  struct tiff* file_ = nullptr;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  uint32_t window_rows_ = 0;  // rows decoded at once: whole strips or tile rows
  std::unique_ptr<TiffWindowState> window_;  // the RGBA image, begun with the header
  std::vector<uint8_t> tile_buffer_;  // libtiff's stored bytes of an uncompressed tile
};
