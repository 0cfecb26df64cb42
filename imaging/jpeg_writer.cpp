// The writing half of JpegCodec: a PictureBuffer to a baseline JPEG file
// through libjpeg's stdio destination, into a DestinationFile so that a
// failed encode leaves the destination as it was.
#include <cstring>

#include "imaging/destination_file.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_error.h"

namespace {

struct JpegEncoderState {
  jpeg_compress_struct cinfo;
  JpegErrorManager errors;
  bool live;  // cinfo was created and must be destroyed
};

// What one encode needs, as plain data for the setjmp region.
struct EncodeJob {
  const uint8_t* pixels;  // rows top first, `stride` bytes apart
  size_t stride;
  JDIMENSION width, height;
  int components;  // 3 = RGB, 1 = gray
  int quality, smoothing;
  boolean optimise;
  ProgressCallback progress;
  const CancelRequest* cancel;
};

bool EncodeJpeg(JpegEncoderState* state, FILE* out, const EncodeJob* job) {
  state->cinfo.err = InstallJpegErrors(&state->errors);
  if (setjmp(state->errors.jump)) return false;
  state->live = true;
  j_compress_ptr cinfo = &state->cinfo;
  jpeg_create_compress(cinfo);
  jpeg_stdio_dest(cinfo, out);

  cinfo->image_width = job->width;
  cinfo->image_height = job->height;
  cinfo->input_components = job->components;
  cinfo->in_color_space = job->components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(cinfo);
  cinfo->optimize_coding = job->optimise;
  cinfo->smoothing_factor = job->smoothing;
  jpeg_set_quality(cinfo, job->quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);

  // Several rows per call; libjpeg only reads through the row pointers.
  while (cinfo->next_scanline < job->height) {
    if (job->cancel->requested()) return false;
    JSAMPROW rows[16];
    const JDIMENSION first = cinfo->next_scanline;
    const JDIMENSION count = job->height - first < 16 ? job->height - first : 16;
    for (JDIMENSION i = 0; i < count; ++i)
      rows[i] = const_cast<JSAMPROW>(job->pixels + (first + i) * job->stride);
    const JDIMENSION done = jpeg_write_scanlines(cinfo, rows, count);
    if (done == 0) return false;
    if (job->progress) {
      for (JDIMENSION row = first; row < first + done; ++row)
        job->progress(0, static_cast<int>((row + 1) * 100ULL / job->height), static_cast<int>(row), 0);
    }
  }
  jpeg_finish_compress(cinfo);
  if (job->progress) job->progress(0, 100, static_cast<int>(job->height) - 1, 0);
  return true;
}

}  // namespace

int JpegCodec::Write(const char* destination, const PictureBuffer& buffer, int32_t quality,
                     int32_t colour, int32_t optimise, int32_t smoothing, ProgressCallback progress,
                     const CancelRequest& cancel) {
  Reset();
  if (destination == nullptr || *destination == '\0') return 0;
  if (quality < 1 || quality > 100 || smoothing < 0 || smoothing > 100) return 0;
  if (!buffer.allocated() || buffer.width() < 1 || buffer.height() < 1) return 0;

  // The mode's depth: 24-bit RGB for colour, 8-bit gray without palette for
  // grayscale (a paletted picture goes through its palette's gray values).
  const bool rgb = colour == 1;
  const int32_t depth = rgb ? 24 : 8;
  const PictureBuffer* source = &buffer;
  PictureBuffer converted;
  if (buffer.bits_per_pixel() != depth || buffer.palette_count() != 0) {
    if (!buffer.ConvertInto(converted, depth, nullptr)) return 0;
    source = &converted;
  }

  const EncodeJob job{source->pixels(),
                      source->stride(),
                      static_cast<JDIMENSION>(source->width()),
                      static_cast<JDIMENSION>(source->height()),
                      rgb ? 3 : 1,
                      quality,
                      smoothing,
                      static_cast<boolean>(optimise != 0 ? TRUE : FALSE),
                      progress,
                      &cancel};

  DestinationFile file;
  if (!file.Create(destination)) return 0;
  JpegEncoderState state;
  std::memset(&state, 0, sizeof state);
  const bool encoded = EncodeJpeg(&state, file.stream(), &job);
  if (state.live) jpeg_destroy_compress(&state.cinfo);
  if (!encoded) {
    file.Abandon();
    return 0;
  }
  return file.Commit() ? 1 : 0;
}
