// Reads run-length encoded PCX files: 8 bits with a 256-colour palette at the
// end of the file, or 24 bits as three 8-bit planes (red, green, blue).
#pragma once

#include <cstdint>

#include "imaging/readers/stdio_picture_reader.h"

class PcxReader : public StdioPictureReader {
 public:
  PicturePlan Plan() const override;

 private:
  bool ReadHeader(const char* path) override;
  bool DecodePicture() override;
  void ResetHeader() override;

  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t planes_ = 0;          // 1 (paletted) or 3 (red, green, blue)
  int32_t bytes_per_line_ = 0;  // per plane, at least width_
  int64_t data_end_ = 0;        // where the compressed data stops
};
