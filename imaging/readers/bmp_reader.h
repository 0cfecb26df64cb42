// Reads 24-bit BMP files, in the Windows and the OS/2 header form, stored
// bottom-up or top-down. Other depths are not this reader's. Bottom-up
// files are read from their end, so rows still flow top row first.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/readers/stdio_picture_reader.h"

class BmpReader : public StdioPictureReader {
 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool CheckBeforeRows() override;
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override;
  void ResetFormat() override;

  int32_t width_ = 0;
  int32_t height_ = 0;  // rows, always positive
  bool bottom_up_ = false;
  uint32_t pixel_offset_ = 0;
  std::vector<uint8_t> file_rows_;  // a run of rows as stored
};
