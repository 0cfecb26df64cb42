// HeifReader: HEIC/HEIF and AVIF pictures through libheif (HEVC and AV1
// decoders built in). The primary image is handed out as libheif shows it:
// grid tiles put together, cropping, rotation and mirroring applied, so the
// EXIF block handed on is marked upright. Samples of more than 8 bits are
// rounded to 8; alpha comes in front of RGB as stored (straight or
// premultiplied). A file that describes its colours by primaries other
// than BT.709's instead of a profile has its pixels converted to sRGB.
// EXIF, XMP and the ICC profile are handed on. The picture is decoded whole.
#pragma once

#include <memory>

#include "imaging/readers/picture_reader.h"

struct HeifDecoderState;

class HeifReader : public PictureReader {
 public:
  HeifReader();
  ~HeifReader() override;

 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool DecodeWhole(uint8_t* pixels, size_t stride) override;
  void ReleaseDecoder() override;

  std::unique_ptr<HeifDecoderState> state_;
};

