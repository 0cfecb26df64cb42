// The writing half of the engine's JPEG codec: JpegStripWriter, and
// JpegCodec::Write, which feeds it a whole PictureBuffer strip by strip.
#include <cstring>
#include <vector>

#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_error.h"
#include "imaging/jpeg_strip_writer.h"
#include "imaging/metadata_segments.h"
#include "imaging/pixel_conversion.h"

// Everything libjpeg needs for one encode. Plain data: the setjmp regions
// below work on it through a pointer and own nothing with a destructor.
struct JpegEncoderState {
  jpeg_compress_struct cinfo;
  JpegErrorManager errors;
  jpeg_progress_mgr progress;
  const CancelRequest* cancel;
  bool live;  // cinfo was created and must be destroyed
};

namespace {

// Called by libjpeg between units of work, also inside its last pass.
void WatchEncode(j_common_ptr cinfo) {
  const auto* state = reinterpret_cast<const JpegEncoderState*>(cinfo);
  if (state->cancel != nullptr && state->cancel->requested()) (*cinfo->err->error_exit)(cinfo);
}

// Marker segments go out between the header jpeg_start_compress writes and
// the first row, a byte at a time from the blocks they point into.
void WriteMarkerSegments(j_compress_ptr cinfo, const MarkerSegment* segments, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const MarkerSegment& segment = segments[i];
    jpeg_write_m_header(cinfo, segment.marker, static_cast<unsigned int>(segment.header.size() + segment.size));
    for (const char byte : segment.header) jpeg_write_m_byte(cinfo, static_cast<uint8_t>(byte));
    for (size_t at = 0; at < segment.size; ++at) jpeg_write_m_byte(cinfo, static_cast<uint8_t>(segment.data[at]));
  }
}

bool StartJpegEncode(JpegEncoderState* state, FILE* out, JDIMENSION width, JDIMENSION height,
                     const EncodeSettings* settings, const MarkerSegment* segments, size_t segment_count) {
  state->cinfo.err = InstallJpegErrors(&state->errors);
  if (setjmp(state->errors.jump)) return false;
  state->live = true;
  j_compress_ptr cinfo = &state->cinfo;
  jpeg_create_compress(cinfo);
  state->progress.progress_monitor = WatchEncode;
  cinfo->progress = &state->progress;
  jpeg_stdio_dest(cinfo, out);

  cinfo->image_width = width;
  cinfo->image_height = height;
  cinfo->input_components = settings->grayscale ? 1 : 3;
  cinfo->in_color_space = settings->grayscale ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(cinfo);
  cinfo->optimize_coding = settings->optimise ? TRUE : FALSE;
  cinfo->smoothing_factor = settings->smoothing;
  jpeg_set_quality(cinfo, settings->quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  WriteMarkerSegments(cinfo, segments, segment_count);
  return true;
}

// Several rows per call; libjpeg only reads through the row pointers.
bool WriteJpegRows(JpegEncoderState* state, const uint8_t* rows, size_t stride, JDIMENSION count) {
  if (setjmp(state->errors.jump)) return false;
  j_compress_ptr cinfo = &state->cinfo;
  for (JDIMENSION done = 0; done < count;) {
    JSAMPROW pointers[16];
    const JDIMENSION batch = count - done < 16 ? count - done : 16;
    for (JDIMENSION i = 0; i < batch; ++i) pointers[i] = const_cast<JSAMPROW>(rows + (done + i) * stride);
    const JDIMENSION written = jpeg_write_scanlines(cinfo, pointers, batch);
    if (written == 0) return false;
    done += written;
  }
  return true;
}

bool FinishJpegEncode(JpegEncoderState* state) {
  if (setjmp(state->errors.jump)) return false;
  jpeg_finish_compress(&state->cinfo);
  return true;
}

uint64_t BlocksOf(int32_t pixels, int32_t block_pixels) {
  return (static_cast<uint64_t>(pixels) + static_cast<uint64_t>(block_pixels) - 1) / static_cast<uint64_t>(block_pixels);
}

}  // namespace

JpegStripWriter::JpegStripWriter() : state_(new JpegEncoderState) {
  std::memset(state_.get(), 0, sizeof(JpegEncoderState));
}

JpegStripWriter::~JpegStripWriter() { Abandon(); }

uint64_t JpegStripWriter::WorkingBytes(int32_t width, int32_t height, const EncodeSettings& settings) {
  // Colour conversion, downsampling and DCT buffers (a few rows of 16),
  // and the tables.
  uint64_t bytes = static_cast<uint64_t>(width) * 3 * 48 + 32 * 1024;
  if (!settings.optimise) return bytes;
  constexpr uint64_t kBlockBytes = 64 * 2;
  if (settings.grayscale) return bytes + BlocksOf(width, 8) * BlocksOf(height, 8) * kBlockBytes;
  // Luma in 8x8 blocks padded to whole 16x16 units, each chroma component
  // in one 8x8 block per 16x16 pixels.
  const uint64_t luma = 2 * BlocksOf(width, 16) * 2 * BlocksOf(height, 16);
  const uint64_t chroma = BlocksOf(width, 16) * BlocksOf(height, 16);
  return bytes + (luma + 2 * chroma) * kBlockBytes;
}

bool JpegStripWriter::Begin(const char* destination, int32_t width, int32_t height,
                            const EncodeSettings& settings, const std::vector<MetadataBlock>& metadata,
                            const CancelRequest& cancel) {
  Abandon();
  if (destination == nullptr || *destination == '\0' || !settings.valid() || width < 1 || height < 1)
    return false;
  std::vector<MarkerSegment> segments;
  try {
    segments = MetadataSegments(metadata, settings.grayscale);
  } catch (...) {
    return false;  // no memory for the segment list
  }
  if (!file_.Create(destination)) return false;
  std::memset(state_.get(), 0, sizeof(JpegEncoderState));
  state_->cancel = &cancel;
  writing_ = StartJpegEncode(state_.get(), file_.stream(), static_cast<JDIMENSION>(width),
                             static_cast<JDIMENSION>(height), &settings, segments.data(), segments.size());
  if (!writing_) Abandon();
  return writing_;
}

bool JpegStripWriter::WriteRows(const uint8_t* rows, size_t stride, int32_t count) {
  if (!writing_ || count < 1) return false;
  if (!WriteJpegRows(state_.get(), rows, stride, static_cast<JDIMENSION>(count))) {
    Abandon();
    return false;
  }
  return true;
}

bool JpegStripWriter::Finish() {
  if (!writing_ || state_->cinfo.next_scanline != state_->cinfo.image_height ||
      !FinishJpegEncode(state_.get())) {
    Abandon();
    return false;
  }
  jpeg_destroy_compress(&state_->cinfo);
  state_->live = false;
  writing_ = false;
  return file_.Commit();
}

void JpegStripWriter::Abandon() {
  if (state_->live) jpeg_destroy_compress(&state_->cinfo);
  state_->live = false;
  state_->cancel = nullptr;
  writing_ = false;
  file_.Abandon();
}

int JpegCodec::Write(const char* destination, const PictureBuffer& buffer, int32_t quality,
                     int32_t colour, int32_t optimise, int32_t smoothing, ProgressCallback progress,
                     const CancelRequest& cancel, const std::vector<MetadataBlock>& metadata) {
  Reset();
  const EncodeSettings settings{quality, colour != 1, optimise != 0, smoothing};
  if (destination == nullptr || *destination == '\0' || !settings.valid()) return 0;
  if (!buffer.allocated() || buffer.width() < 1 || buffer.height() < 1) return 0;
  const int32_t bits = buffer.bits_per_pixel();
  if (bits != 8 && bits != 24 && bits != 32) return 0;
  const PixelConverter converter(buffer.layout(), buffer.palette(), settings.input_layout());

  JpegStripWriter writer;
  if (!writer.Begin(destination, buffer.width(), buffer.height(), settings, metadata, cancel)) return 0;
  // Strips of rows, converted to the input layout where the picture's
  // layout differs; the cancel request is looked at between them.
  constexpr int32_t kStripRows = 16;
  const size_t width = static_cast<size_t>(buffer.width());
  const size_t input_stride = RowBytes(settings.input_layout(), buffer.width());
  std::vector<uint8_t> converted(converter.identity() ? 0 : input_stride * kStripRows);
  for (int32_t y = 0; y < buffer.height(); y += kStripRows) {
    if (cancel.requested()) return 0;
    const int32_t rows = buffer.height() - y < kStripRows ? buffer.height() - y : kStripRows;
    const uint8_t* strip = buffer.row(y);
    size_t stride = buffer.stride();
    if (!converter.identity()) {
      converter.ConvertRows(strip, stride, converted.data(), input_stride, width, rows);
      strip = converted.data();
      stride = input_stride;
    }
    if (!writer.WriteRows(strip, stride, rows)) return 0;
    if (progress) {
      for (int32_t row = y; row < y + rows; ++row)
        progress(0, static_cast<int>((row + 1) * 100LL / buffer.height()), row, 0);
    }
  }
  if (!writer.Finish()) return 0;
  if (progress) progress(0, 100, buffer.height() - 1, 0);
  return 1;
}
