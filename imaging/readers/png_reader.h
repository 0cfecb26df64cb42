// PngReader: PNG pictures through libpng, normalised to the engine's depths:
// palette -> 8-bit paletted, gray (with or without alpha) -> 8-bit gray,
// RGB -> 24-bit, RGBA -> 32-bit with the alpha byte in front. Sixteen-bit
// samples are stripped to eight.
#pragma once

#include <memory>

#include "imaging/readers/picture_reader.h"

struct PngDecoderState;

class PngReader : public PictureReader {
 public:
  PngReader();
  ~PngReader() override;
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  void Reset() override;
  bool Open(const char* path, PictureBuffer* buffer, ProgressCallback progress) override;
  bool Decode() override;
  PicturePlan Plan() const override;

 private:
  std::unique_ptr<PngDecoderState> state_;
  PictureBuffer* target_ = nullptr;
  ProgressCallback progress_ = nullptr;
};
