// Reads 24-bit BMP files, in the Windows and the OS/2 header form, stored
// bottom-up or top-down. Other depths are not this reader's.
#pragma once

#include <cstdint>

#include "imaging/readers/stdio_picture_reader.h"

class BmpReader : public StdioPictureReader {
 public:
  PicturePlan Plan() const override;

 private:
  bool ReadHeader(const char* path) override;
  bool DecodePicture() override;
  void ResetHeader() override;

  int32_t width_ = 0;
  int32_t height_ = 0;  // rows, always positive
  bool bottom_up_ = false;
  uint32_t pixel_offset_ = 0;
};
