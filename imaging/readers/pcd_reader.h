// Reads one resolution of a Photo CD image pac: luma rows and shared chroma
// rows in the file's YCC encoding, turned into red, green, blue. The three
// base resolutions are stored as row pairs, so rows flow pair by pair.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/readers/stdio_picture_reader.h"

class PcdReader : public StdioPictureReader {
 public:
  // Resolution 0 (192 x 128), 1 (384 x 256) or 2 (768 x 512, the default).
  explicit PcdReader(int resolution = 2);

  // Where an image pac keeps each resolution, and its size.
  static int32_t WidthOf(int resolution);
  static int32_t HeightOf(int resolution);
  static int64_t OffsetOf(int resolution);

  // Files this size or smaller are not image pacs.
  static constexpr int64_t kSmallestPacSize = 1048575;
  // "PCD_" at this offset marks an image pac.
  static constexpr int64_t kSignatureOffset = 2048;


 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override;
  void ResetFormat() override;

  int resolution_;
  bool positioned_ = false;      // the file stands at the resolution's rows
  std::vector<uint8_t> pair_;    // Y1, Y2 and the chroma row of one pair
  std::vector<uint8_t> lower_;   // the pair's second row, when a strip ended
  bool lower_pending_ = false;   // between the rows of a pair
};
