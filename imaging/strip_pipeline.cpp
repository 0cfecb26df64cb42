// The two stages and the hand-over of the decoding stage to a helper
// thread. The reader is used by one thread at a time: this thread until the
// helper starts, the helper afterwards.
#include "imaging/strip_pipeline.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <thread>

#include "imaging/core_budget.h"
#include "imaging/strip_queue.h"

namespace {

// Strips in flight: one being decoded, one being encoded, one waiting (or
// fewer, for a picture of fewer strips).
constexpr int32_t kStrips = 3;
// A strip is about this many bytes of encoder input, in whole units of 16
// rows (the encoder's chroma unit), at least one unit.
constexpr size_t kStripBytes = 256 * 1024;
constexpr int32_t kRowUnit = 16;

}  // namespace

StripPipeline::StripPipeline(PictureReader& reader, const EncodeSettings& settings, const CancelRequest& cancel,
                             const ConversionOptions& options)
    : reader_(reader),
      settings_(settings),
      cancel_(cancel),
      keep_metadata_(options.keep_metadata),
      converter_(reader.description(), settings.input_layout(), options.flatten ? &options.background : nullptr),
      height_(reader.description().height),
      strip_rows_(StripRows(reader.description(), settings)) {}

int32_t StripPipeline::StripRows(const PictureDescription& picture, const EncodeSettings& settings) {
  const size_t row = RowBytes(settings.input_layout(), picture.width);
  const size_t units = std::max<size_t>(1, kStripBytes / (row * kRowUnit));
  return static_cast<int32_t>(std::min<size_t>(units * kRowUnit, static_cast<size_t>(picture.height)));
}

int StripPipeline::StripCount(const PictureDescription& picture, const EncodeSettings& settings) {
  const int32_t rows = StripRows(picture, settings);
  return std::min(kStrips, (picture.height + rows - 1) / rows);
}

uint64_t StripPipeline::BufferBytes(const PictureDescription& picture, const EncodeSettings& settings) {
  const uint64_t rows = static_cast<uint64_t>(StripRows(picture, settings));
  const uint64_t input = RowBytes(settings.input_layout(), picture.width) * rows;
  const uint64_t scratch = picture.layout == settings.input_layout() ? 0 : picture.stride() * rows;
  return static_cast<uint64_t>(StripCount(picture, settings)) * input + scratch;
}

// Decodes the next strip into an empty queue strip and passes it on; the
// last one finishes the queue, a failure stops it.
bool StripPipeline::ProduceOne(StripQueue& queue) {
  Strip* strip = queue.TakeEmpty();
  if (strip == nullptr) return false;
  if (cancel_.requested()) {
    cancelled_ = true;
    queue.Stop();
    return false;
  }
  const int32_t rows = std::min(strip_rows_, height_ - next_row_);
  const size_t input_stride = RowBytes(settings_.input_layout(), reader_.description().width);
  bool read = false;
  try {
    if (converter_.identity()) {
      read = reader_.ReadRows(strip->pixels.data(), input_stride, rows);
    } else {
      const size_t stride = reader_.description().stride();
      scratch_.resize(stride * static_cast<size_t>(strip_rows_));
      read = reader_.ReadRows(scratch_.data(), stride, rows);
      if (read)
        converter_.ConvertRows(scratch_.data(), stride, strip->pixels.data(), input_stride,
                               static_cast<size_t>(reader_.description().width), rows);
    }
  } catch (...) {
    read = false;  // no memory for the reader's buffers
  }
  if (!read) {
    // A whole-picture decode stops early when cancelled.
    (cancel_.requested() ? cancelled_ : read_failed_) = true;
    queue.Stop();
    return false;
  }
  strip->first_row = next_row_;
  strip->rows = rows;
  next_row_ += rows;
  queue.PutFull(strip);
  if (next_row_ == height_) queue.Finish();
  return true;
}

// The helper thread's body: the rest of the decoding stage. Its processor
// is given back as soon as the rows are decoded, while encoding goes on.
void StripPipeline::ProduceRest(StripQueue& queue) {
  while (next_row_ < height_ && ProduceOne(queue)) {
  }
  ConversionCores().GiveBackHelper();
}

// Encodes one strip. Once the writer failed, strips are only drained, so
// that the reader can still tell a read failure.
bool StripPipeline::Consume(const Strip& strip) {
  if (cancel_.requested()) {
    cancelled_ = true;
    return false;
  }
  if (!writer_ok_) return true;
  const size_t stride = RowBytes(settings_.input_layout(), reader_.description().width);
  try {
    writer_ok_ = writer_.WriteRows(strip.pixels.data(), stride, strip.rows);
  } catch (...) {
    writer_ok_ = false;
  }
  if (!writer_ok_ && cancel_.requested()) {
    cancelled_ = true;
    return false;
  }
  return true;
}

PipelineOutcome StripPipeline::Run(const char* destination, const FileTime* last_write) {
  const PictureDescription& picture = reader_.description();
  if (!converter_.valid()) return PipelineOutcome::kReadFailed;
  std::unique_ptr<StripQueue> queue;
  try {
    queue.reset(new StripQueue(StripCount(picture, settings_),
                               RowBytes(settings_.input_layout(), picture.width) * static_cast<size_t>(strip_rows_)));
  } catch (...) {
    return PipelineOutcome::kReadFailed;  // no memory for the strips: nothing was decoded
  }
  static const std::vector<MetadataBlock> kNoMetadata;
  writer_ok_ = writer_.Begin(destination, picture.width, picture.height, settings_,
                             keep_metadata_ ? picture.metadata : kNoMetadata, cancel_);
  if (writer_ok_ && last_write != nullptr) writer_.KeepLastWriteTime(*last_write);

  std::thread helper;
  bool decoding_here = true;
  for (;;) {
    // Hand the decoding over while more than two strips are left and a
    // processor is free.
    if (decoding_here && height_ - next_row_ > 2 * strip_rows_ && ConversionCores().TryTakeHelper()) {
      try {
        helper = std::thread(&StripPipeline::ProduceRest, this, std::ref(*queue));
        decoding_here = false;
      } catch (...) {
        ConversionCores().GiveBackHelper();  // no thread to be had: go on alone
      }
    }
    // Taking turns, one strip is decoded and then encoded, so an empty
    // strip is always at hand.
    if (decoding_here && next_row_ < height_) ProduceOne(*queue);
    Strip* strip = queue->TakeFull();
    if (strip == nullptr) break;
    const bool go_on = Consume(*strip);
    queue->PutEmpty(strip);
    if (!go_on) {
      queue->Stop();
      break;
    }
  }
  if (helper.joinable()) helper.join();

  if (cancelled_) return PipelineOutcome::kCancelled;
  if (read_failed_ || next_row_ != height_) return PipelineOutcome::kReadFailed;
  if (!writer_ok_) return PipelineOutcome::kWriteFailed;
  if (writer_.Finish()) return PipelineOutcome::kConverted;
  return cancel_.requested() ? PipelineOutcome::kCancelled : PipelineOutcome::kWriteFailed;
}
