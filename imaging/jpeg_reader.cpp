// The reading half of JpegCodec: libjpeg decompression through the stdio
// source, scanlines straight into the strips asked for (ink pictures through
// a few rows of their own, converted to RGB on the way).
#include <algorithm>
#include <cstring>

#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_error.h"
#include "imaging/picture_limits.h"
#include "imaging/readers/cmyk_to_rgb.h"
#include "imaging/readers/icc_profile.h"
#include "imaging/readers/jpeg_marker_metadata.h"

// Everything libjpeg needs for one decode. Plain data: the setjmp regions
// below work on it through a pointer and own nothing with a destructor.
struct JpegDecoderState {
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  jpeg_progress_mgr progress;
  const CancelRequest* cancel;  // the reader's, while it decodes
  FILE* file;
  bool live;            // cinfo was created and must be destroyed
  bool started;         // jpeg_start_decompress has run
  bool multiple_scans;  // the coefficients of the whole file are kept
};

namespace {

// Called by libjpeg between units of work; ends a decode that has read more
// scans than any real picture has, or that its caller cancelled (a
// progressive file is read whole inside jpeg_start_decompress).
void WatchDecode(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  const auto* state = reinterpret_cast<const JpegDecoderState*>(decompress);
  if (decompress->input_scan_number > kMaxJpegScans ||
      (state->cancel != nullptr && state->cancel->requested()))
    (*cinfo->err->error_exit)(cinfo);
}

// Ink rows are decoded this many at a time before their conversion.
constexpr JDIMENSION kInkBatchRows = 16;

// Creates the decompression object and reads the header, keeping the
// segments that may carry metadata; the output size and component count are
// known afterwards. CMYK and YCCK files decode to CMYK.
bool ReadJpegHeader(JpegDecoderState* state) {
  state->cinfo.err = InstallJpegErrors(&state->errors);
  if (setjmp(state->errors.jump)) return false;
  state->live = true;
  jpeg_create_decompress(&state->cinfo);
  state->cinfo.mem->max_memory_to_use = kMaxJpegMemory;
  state->progress.progress_monitor = WatchDecode;
  state->cinfo.progress = &state->progress;
  jpeg_stdio_src(&state->cinfo, state->file);
  jpeg_save_markers(&state->cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&state->cinfo, JPEG_APP0 + 2, 0xFFFF);
  if (jpeg_read_header(&state->cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (state->cinfo.jpeg_color_space == JCS_CMYK || state->cinfo.jpeg_color_space == JCS_YCCK)
    state->cinfo.out_color_space = JCS_CMYK;
  jpeg_calc_output_dimensions(&state->cinfo);
  state->multiple_scans = jpeg_has_multiple_scans(&state->cinfo) != 0;
  return true;
}

// What libjpeg holds while it decodes: the whole file's coefficients for a
// file of several scans, progressive or not (two bytes a coefficient, every
// component at its own sampling), else a few rows of blocks of each
// component.
uint64_t DecoderWorkingBytes(const jpeg_decompress_struct& cinfo, bool multiple_scans) {
  uint64_t bytes = 0;
  for (int i = 0; i < cinfo.num_components; ++i) {
    const jpeg_component_info& component = cinfo.comp_info[i];
    const uint64_t row_of_blocks = uint64_t{component.width_in_blocks} * 128;
    bytes += multiple_scans ? row_of_blocks * component.height_in_blocks
                            : row_of_blocks * 3 * static_cast<uint64_t>(component.v_samp_factor);
  }
  return bytes + uint64_t{cinfo.output_width} * static_cast<uint64_t>(cinfo.output_components) * 16;
}

bool StartJpegDecode(JpegDecoderState* state, const PictureDescription& picture) {
  if (setjmp(state->errors.jump)) return false;
  j_decompress_ptr cinfo = &state->cinfo;
  if (!jpeg_start_decompress(cinfo)) return false;
  state->started = true;
  // The description was made from the header; the rows must match it (ink
  // rows become three bytes a pixel).
  const size_t handed_out = cinfo->output_components == 4 ? 3 : static_cast<size_t>(cinfo->output_components);
  return cinfo->output_height == static_cast<JDIMENSION>(picture.height) &&
         static_cast<size_t>(cinfo->output_width) * handed_out == picture.stride();
}

// Decodes `count` scanlines into `rows`, `stride` bytes apart, several rows
// per call, as many as libjpeg hands out at once.
bool ReadJpegRows(JpegDecoderState* state, uint8_t* rows, size_t stride, JDIMENSION count) {
  if (setjmp(state->errors.jump)) return false;
  j_decompress_ptr cinfo = &state->cinfo;
  for (JDIMENSION done = 0; done < count;) {
    JSAMPROW pointers[16];
    const JDIMENSION batch = count - done < 16 ? count - done : 16;
    for (JDIMENSION i = 0; i < batch; ++i) pointers[i] = rows + (done + i) * stride;
    const JDIMENSION read = jpeg_read_scanlines(cinfo, pointers, batch);
    if (read == 0) return false;  // no progress: the stdio source cannot suspend
    done += read;
  }
  return true;
}

}  // namespace

JpegCodec::JpegCodec() : decoder_(new JpegDecoderState) {
  std::memset(decoder_.get(), 0, sizeof(JpegDecoderState));
}

JpegCodec::~JpegCodec() { Reset(); }

void JpegCodec::ReleaseDecoder() {
  JpegDecoderState* state = decoder_.get();
  if (state->live) jpeg_destroy_decompress(&state->cinfo);
  if (state->file) std::fclose(state->file);
  std::memset(state, 0, sizeof(JpegDecoderState));
  ink_.reset();
  std::vector<uint8_t>().swap(ink_rows_);
}

bool JpegCodec::ReadHeader(const char* path, PictureDescription* description) {
  JpegDecoderState* state = decoder_.get();
  state->file = std::fopen(path, "rb");
  if (state->file == nullptr) return false;

  // The start-of-image marker first, before libjpeg sees the file.
  unsigned char marker[2];
  if (std::fread(marker, 1, 2, state->file) != 2 || marker[0] != 0xFF || marker[1] != 0xD8 ||
      std::fseek(state->file, 0, SEEK_SET) != 0 || !ReadJpegHeader(state))
    return false;

  const jpeg_decompress_struct& cinfo = state->cinfo;
  const int components = cinfo.output_components;
  const bool ink = components == 4 && cinfo.out_color_space == JCS_CMYK;
  if (cinfo.output_width == 0 || cinfo.output_height == 0 || (components != 1 && components != 3 && !ink) ||
      !PictureFitsLimits(cinfo.output_width, cinfo.output_height, static_cast<unsigned>(components)))
    return false;
  description->width = static_cast<int32_t>(cinfo.output_width);
  description->height = static_cast<int32_t>(cinfo.output_height);
  description->layout = components == 1 ? PixelLayout::kGray8 : PixelLayout::kRgb24;
  description->working_bytes = DecoderWorkingBytes(cinfo, state->multiple_scans);

  JpegMarkerMetadata found = CollectJpegMetadata(cinfo.marker_list);
  if (!found.exif.empty()) description->metadata.push_back(MetadataBlock{MetadataKind::kExif, std::move(found.exif)});
  if (!found.xmp.empty()) description->metadata.push_back(MetadataBlock{MetadataKind::kXmp, std::move(found.xmp)});
  if (ink) {
    // Programs that write Adobe's marker store ink inverted.
    ink_.reset(new CmykToRgb(cinfo.saw_Adobe_marker != 0));
    if (SpaceOfProfile(found.icc) == ProfileSpace::kCmyk) ink_->UseProfile(found.icc);
    ink_rows_.resize(size_t{kInkBatchRows} * cinfo.output_width * 4);
    description->working_bytes += ink_rows_.size() + ink_->WorkingBytes();
  } else {
    HandOnProfile(std::move(found.icc), components == 1, description);
  }
  return true;
}

bool JpegCodec::ReadStrip(uint8_t* rows, size_t stride, int32_t count) {
  JpegDecoderState* state = decoder_.get();
  if (!state->live) return false;
  if (!state->started) {
    state->cancel = &cancel();
    if (!StartJpegDecode(state, description())) return false;
  }
  if (ink_ == nullptr) return ReadJpegRows(state, rows, stride, static_cast<JDIMENSION>(count));

  // Ink rows a batch at a time into our own rows, then converted into the strip.
  const size_t width = static_cast<size_t>(description().width);
  for (int32_t done = 0; done < count;) {
    const JDIMENSION batch = std::min<JDIMENSION>(kInkBatchRows, static_cast<JDIMENSION>(count - done));
    if (!ReadJpegRows(state, ink_rows_.data(), width * 4, batch)) return false;
    for (JDIMENSION i = 0; i < batch; ++i)
      ink_->Convert(ink_rows_.data() + i * width * 4, rows + (static_cast<size_t>(done) + i) * stride, width);
    done += static_cast<int32_t>(batch);
  }
  return true;
}
