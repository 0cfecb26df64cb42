// JpegCodec: the engine's JPEG reader (one of the loader's readers) and its
// baseline JPEG writer for whole pictures, both through libjpeg. The
// libjpeg objects live in state blocks so that this header needs no libjpeg
// include; the writer itself is imaging/jpeg_strip_writer.h.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/cancel_request.h"
#include "imaging/readers/picture_reader.h"

struct JpegDecoderState;

class JpegCodec : public PictureReader {
 public:
  JpegCodec();
  ~JpegCodec() override;

  // --- writing ---
  // Writes `buffer` as a baseline JPEG file: one component when `colour` is
  // not 1, three when it is. Returns 1, or 0 when an argument is out of
  // range (quality 1..100, smoothing 0..100, a non-empty buffer), the
  // destination cannot be made, libjpeg fails, or `cancel` is requested
  // between strips of rows; on 0 the destination is as it was before.
  // `metadata` is written as the strip writer writes it.
  int Write(const char* destination, const PictureBuffer& buffer, int32_t quality, int32_t colour,
            int32_t optimise, int32_t smoothing, ProgressCallback progress,
            const CancelRequest& cancel = CancelRequest(), const std::vector<MetadataBlock>& metadata = {});

 private:
  // --- reading (PictureReader) ---
  // Accepts a file starting with FF D8 whose header libjpeg reads, with a
  // non-zero size within the engine's limits and 1 or 3 output components
  // (CMYK and YCCK files are left to the other readers): 8-bit gray for 1
  // component, 24-bit RGB for 3. A file that ends early fails.
  bool ReadHeader(const char* path, PictureDescription* description) override;
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override;
  void ReleaseDecoder() override;

  std::unique_ptr<JpegDecoderState> decoder_;
};
