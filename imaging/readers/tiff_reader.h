// TiffReader: TIFF pictures of any kind libtiff's RGBA interface decodes,
// read as 24-bit RGB (alpha dropped). Rows flow in windows of whole strips
// or rows of tiles, so that no strip is decoded twice; pictures stored with
// their first row at the bottom are decoded whole.
#pragma once

#include <memory>

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
  std::unique_ptr<TiffWindowState> window_;  // made by the first strip
};
