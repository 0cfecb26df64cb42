// PngReader: PNG pictures of every colour type and depth through libpng,
// normalised to the engine's layouts: palette -> palette indices (with the
// tRNS chunk's entry alphas), gray -> gray, RGB -> RGB, and a gray or RGB
// picture with transparency (an alpha channel or a tRNS colour) -> alpha in
// front of RGB.
// Sixteen-bit samples are stripped to eight. Interlaced files are decoded
// whole. The eXIf, iCCP and XMP chunks before the image data are handed on.
#pragma once

#include <memory>

#include "imaging/readers/picture_reader.h"

struct PngDecoderState;

class PngReader : public PictureReader {
 public:
  PngReader();
  ~PngReader() override;

 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override;
  bool DecodeWhole(uint8_t* pixels, size_t stride) override;
  void ReleaseDecoder() override;

  std::unique_ptr<PngDecoderState> state_;
};
