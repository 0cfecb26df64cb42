// TiffReader: TIFF pictures of any kind libtiff's RGBA interface decodes,
// read as 24-bit RGB (alpha dropped).
#pragma once

#include "imaging/readers/picture_reader.h"

struct tiff;

class TiffReader : public PictureReader {
 public:
  TiffReader() = default;
  ~TiffReader() override { Reset(); }
  TiffReader(const TiffReader&) = delete;
  TiffReader& operator=(const TiffReader&) = delete;

  void Reset() override;
  bool Open(const char* path, PictureBuffer* buffer, ProgressCallback progress) override;
  bool Decode() override;
  PicturePlan Plan() const override;

 private:
  struct tiff* file_ = nullptr;
  PictureBuffer* target_ = nullptr;
  ProgressCallback progress_ = nullptr;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
};
