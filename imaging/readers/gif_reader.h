// Reads the first frame of GIF files, placed on the file's logical screen:
// the screen is the picture, the frame lies at its position (cut at the
// screen's edges) and the rest of the screen is the background colour.
// Pixels are palette indices of the frame's own table or the global one;
// a transparent index keeps its stored colour. Frames stored row after row
// flow in strips; interlaced ones are decoded whole. A file that ends after
// the frame's last visible pixel reads; one that ends before fails.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/readers/file_byte_source.h"
#include "imaging/readers/stdio_picture_reader.h"

class GifLzwDecoder;

class GifReader : public StdioPictureReader {
 public:
  GifReader();
  ~GifReader() override;

 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override;
  bool DecodeWhole(uint8_t* pixels, size_t stride) override;
  void ResetFormat() override;

  // Decodes the frame's next stored row and copies what the screen shows of
  // it into `screen_row`, when there is one.
  bool DecodeFrameRow(uint8_t* screen_row);

  int32_t width_ = 0, height_ = 0;  // the logical screen
  int32_t left_ = 0, top_ = 0, frame_width_ = 0, frame_height_ = 0;
  bool interlaced_ = false;
  uint8_t background_ = 0;  // palette index where the frame leaves the screen uncovered
  FileByteSource data_;
  std::unique_ptr<GifLzwDecoder> lzw_;
  std::vector<uint8_t> frame_row_;
};
