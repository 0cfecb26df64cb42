// Reads run-length encoded PCX files: 8 bits with a 256-colour palette at the
// end of the file, or 24 bits as three 8-bit planes (red, green, blue). Lines
// are decoded one after another, so rows flow as they are decoded.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/readers/file_byte_source.h"
#include "imaging/readers/stdio_picture_reader.h"

class PcxReader : public StdioPictureReader {
 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool CheckBeforeRows() override;
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override;
  void ResetFormat() override;

  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t planes_ = 0;          // 1 (paletted) or 3 (red, green, blue)
  int32_t bytes_per_line_ = 0;  // per plane, at least width_
  int64_t data_end_ = 0;        // where the compressed data stops
  FileByteSource data_;         // started by the first strip
  std::vector<uint8_t> line_;   // one decoded line, all planes
};
