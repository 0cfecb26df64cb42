// WebpReader: WebP pictures through libwebp and its demux library: lossy,
// lossless, with alpha (handed out in front of RGB, straight), and the
// first frame of an animation on its canvas (where the frame does not
// cover the canvas, the canvas is transparent black). EXIF, XMP and ICC
// chunks are handed on as stored. The picture is decoded whole, straight
// into the caller's rows.
#pragma once

#include <memory>

#include "imaging/readers/picture_reader.h"

struct WebpDecoderState;

class WebpReader : public PictureReader {
 public:
  WebpReader();
  ~WebpReader() override;

 private:
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool DecodeWhole(uint8_t* pixels, size_t stride) override;
  void ReleaseDecoder() override;

  std::unique_ptr<WebpDecoderState> state_;
};
