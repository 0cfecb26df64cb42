// The reading half of JpegCodec: libjpeg decompression through the stdio
// source straight into the rows of a PictureBuffer.
#include <cstring>

#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_error.h"
#include "imaging/picture_limits.h"

// Everything libjpeg needs for one decode. Plain data: the setjmp regions
// below work on it through a pointer and own nothing with a destructor.
struct JpegDecoderState {
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  jpeg_progress_mgr progress;
  FILE* file;
  bool live;  // cinfo was created and must be destroyed
};

namespace {

// Called by libjpeg between units of work; ends a decode that has read more
// scans than any real picture has.
void LimitScans(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (decompress->input_scan_number > kMaxJpegScans) (*cinfo->err->error_exit)(cinfo);
}

// Creates the decompression object and reads the header; the output size
// and component count are known afterwards.
bool ReadJpegHeader(JpegDecoderState* state) {
  state->cinfo.err = InstallJpegErrors(&state->errors);
  if (setjmp(state->errors.jump)) return false;
  state->live = true;
  jpeg_create_decompress(&state->cinfo);
  state->cinfo.mem->max_memory_to_use = kMaxJpegMemory;
  state->progress.progress_monitor = LimitScans;
  state->cinfo.progress = &state->progress;
  jpeg_stdio_src(&state->cinfo, state->file);
  if (jpeg_read_header(&state->cinfo, TRUE) != JPEG_HEADER_OK) return false;
  jpeg_calc_output_dimensions(&state->cinfo);
  return true;
}

// Decodes every scanline into `pixels`, rows `stride` bytes apart, top row
// first. Several rows per call, as many as libjpeg hands out at once.
bool ReadJpegRows(JpegDecoderState* state, uint8_t* pixels, size_t stride, JDIMENSION height,
                  ProgressCallback progress) {
  if (setjmp(state->errors.jump)) return false;
  j_decompress_ptr cinfo = &state->cinfo;
  if (!jpeg_start_decompress(cinfo)) return false;
  // The buffer was sized from the header; the rows must fit it exactly.
  if (cinfo->output_height != height ||
      static_cast<size_t>(cinfo->output_width) * cinfo->output_components != stride)
    return false;
  while (cinfo->output_scanline < height) {
    JSAMPROW rows[16];
    const JDIMENSION first = cinfo->output_scanline;
    JDIMENSION count = height - first < 16 ? height - first : 16;
    for (JDIMENSION i = 0; i < count; ++i) rows[i] = pixels + (first + i) * stride;
    const JDIMENSION done = jpeg_read_scanlines(cinfo, rows, count);
    if (done == 0) return false;  // no progress: the stdio source cannot suspend
    if (progress) {
      for (JDIMENSION row = first; row < first + done; ++row)
        progress(1, static_cast<int>((row + 1) * 100ULL / height), static_cast<int>(row), 0);
    }
  }
  return true;
}

}  // namespace

JpegCodec::JpegCodec() : decoder_(new JpegDecoderState) {
  std::memset(decoder_.get(), 0, sizeof(JpegDecoderState));
}

JpegCodec::~JpegCodec() { Reset(); }

void JpegCodec::Reset() {
  JpegDecoderState* state = decoder_.get();
  if (state->live) jpeg_destroy_decompress(&state->cinfo);
  if (state->file) std::fclose(state->file);
  std::memset(state, 0, sizeof(JpegDecoderState));
  target_ = nullptr;
  progress_ = nullptr;
  width_ = height_ = components_ = 0;
}

bool JpegCodec::Open(const char* path, PictureBuffer* buffer, ProgressCallback progress) {
  Reset();
  if (path == nullptr || buffer == nullptr) return false;
  JpegDecoderState* state = decoder_.get();
  state->file = std::fopen(path, "rb");
  if (state->file == nullptr) return false;

  // The start-of-image marker first, before libjpeg sees the file.
  unsigned char marker[2];
  if (std::fread(marker, 1, 2, state->file) != 2 || marker[0] != 0xFF || marker[1] != 0xD8 ||
      std::fseek(state->file, 0, SEEK_SET) != 0 || !ReadJpegHeader(state)) {
    Reset();
    return false;
  }

  const jpeg_decompress_struct& cinfo = state->cinfo;
  const int components = cinfo.output_components;
  if (cinfo.output_width == 0 || cinfo.output_height == 0 ||
      (components != 1 && components != 3) ||
      !PictureFitsLimits(cinfo.output_width, cinfo.output_height, static_cast<unsigned>(components))) {
    Reset();
    return false;
  }
  width_ = static_cast<int32_t>(cinfo.output_width);
  height_ = static_cast<int32_t>(cinfo.output_height);
  components_ = components;
  target_ = buffer;
  progress_ = progress;
  return true;
}

bool JpegCodec::Decode() {
  if (!decoder_->live || target_ == nullptr) return false;
  const bool ok = target_->Allocate(width_, height_, components_ == 3 ? 24 : 8, 0) &&
                  ReadJpegRows(decoder_.get(), target_->pixels(), target_->stride(),
                               static_cast<JDIMENSION>(height_), progress_);
  Reset();
  return ok;
}

PicturePlan JpegCodec::Plan() const { return PicturePlan{width_, height_, components_ == 3 ? 24 : 8, 0}; }
