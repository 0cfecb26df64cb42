// Reads BMP files of every common kind: 1-, 4- and 8-bit palettes, RLE8
// and RLE4, 16- and 32-bit pixels with or without bit fields, 24 bits; in
// the Windows header forms (with the longer headers' embedded colour
// profile handed on as a metadata block) and the OS/2 ones; stored
// bottom-up or top-down. Plain bottom-up files are read from their end, so
// rows still flow top row first; run-length coded ones are decoded whole.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/readers/bmp_header.h"
#include "imaging/readers/file_byte_source.h"
#include "imaging/readers/stdio_picture_reader.h"

class BmpRowUnpacker;

class BmpReader : public StdioPictureReader {
 public:
  BmpReader();
  ~BmpReader() override;

 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool CheckBeforeRows() override;
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override;
  bool DecodeWhole(uint8_t* pixels, size_t stride) override;
  void ResetFormat() override;

  std::unique_ptr<BmpHeader> header_;
  std::unique_ptr<BmpRowUnpacker> unpacker_;  // plain pictures
  std::vector<uint8_t> file_rows_;            // a run of rows as stored
  FileByteSource rle_data_;                   // run-length coded pictures
};
