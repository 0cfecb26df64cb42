// Reads 24-bit BMP files, in the Windows and the OS/2 header form, stored
// bottom-up or top-down. Other depths are not this reader's.
#pragma once

#include <cstdint>

#include "imaging/readers/picture_reader.h"
#include "imaging/readers/stdio_file.h"

class BmpReader : public PictureReader {
 public:
  void Reset() override;
  bool Open(const char* path, PictureBuffer* buffer, ProgressCallback progress) override;
  bool Decode() override;

 private:
  bool ReadHeader(const char* path);
  bool DecodeRows();

  StdioFile file_;
  PictureBuffer* buffer_ = nullptr;
  ProgressCallback progress_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;  // rows, always positive
  bool bottom_up_ = false;
  uint32_t pixel_offset_ = 0;
};
