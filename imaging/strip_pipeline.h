// StripPipeline: one picture converted as its rows flow, from an open
// reader through a small bounded queue of strips to the JPEG strip writer.
// The decoding stage reads strips and converts them to the encoder's input
// layout; the encoding stage writes them. Both run on the calling thread,
// taking turns, until ConversionCores() grants a helper thread: from then
// on the helper decodes while the caller encodes. The cancel request is
// looked at between strips in both stages.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "imaging/cancel_request.h"
#include "imaging/conversion_options.h"
#include "imaging/file_time.h"
#include "imaging/jpeg_strip_writer.h"
#include "imaging/pixel_conversion.h"
#include "imaging/readers/picture_reader.h"

class StripQueue;
struct Strip;

enum class PipelineOutcome { kConverted, kReadFailed, kWriteFailed, kCancelled };

class StripPipeline {
 public:
  // `reader` is open; `cancel` must outlive Run. Of `options`, the pipeline
  // heeds the flattening and whether metadata is written.
  StripPipeline(PictureReader& reader, const EncodeSettings& settings, const CancelRequest& cancel,
                const ConversionOptions& options = ConversionOptions());
  StripPipeline(const StripPipeline&) = delete;
  StripPipeline& operator=(const StripPipeline&) = delete;

  // Rows of one strip for a picture of this description.
  static int32_t StripRows(const PictureDescription& picture, const EncodeSettings& settings);
  // Strips in the queue, and the bytes of strips the pipeline holds, for
  // such a picture.
  static int StripCount(const PictureDescription& picture, const EncodeSettings& settings);
  static uint64_t BufferBytes(const PictureDescription& picture, const EncodeSettings& settings);

  // Converts the whole picture into `destination`. A read failure wins over
  // a write failure (the rows are read to their end even when the
  // destination cannot be made, to tell which), a cancel over both; on any
  // failure the destination stays as it was. With `last_write`, the
  // finished file has that last-write time.
  PipelineOutcome Run(const char* destination, const FileTime* last_write = nullptr);

 private:
  bool ProduceOne(StripQueue& queue);
  void ProduceRest(StripQueue& queue);
  bool Consume(const Strip& strip);

  PictureReader& reader_;
  const EncodeSettings settings_;
  const CancelRequest& cancel_;
  const bool keep_metadata_;
  const PixelConverter converter_;
  const int32_t height_;
  const int32_t strip_rows_;
  JpegStripWriter writer_;
  bool writer_ok_ = false;
  // Decoding stage: owned by whichever thread decodes.
  int32_t next_row_ = 0;
  std::vector<uint8_t> scratch_;  // a strip in the reader's layout
  // Set by either stage, read after both ended.
  std::atomic<bool> read_failed_{false};
  std::atomic<bool> cancelled_{false};
};
