// JpegStripWriter: a baseline JPEG file written through libjpeg from strips
// of rows as they come, top row first, into a DestinationFile so that a
// failed or cancelled encode leaves the destination as it was.
//
// Rows are given in the encoder's input layout: 24-bit RGB for a colour
// file, 8-bit gray for a grayscale one (imaging/pixel_conversion.h makes
// them). The metadata blocks it is handed follow the JFIF header as marker
// segments (imaging/metadata_segments.h). Everything else stays at
// libjpeg's defaults: 4:2:0 chroma subsampling for colour, sequential
// baseline, no restart markers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/cancel_request.h"
#include "imaging/destination_file.h"
#include "imaging/pixel_layout.h"
#include "imaging/readers/picture_description.h"

struct EncodeSettings {
  int32_t quality = 100;   // 1..100, libjpeg's quality scale (force baseline)
  bool grayscale = false;  // one component; else three (RGB input)
  bool optimise = true;    // optimal Huffman tables
  int32_t smoothing = 0;   // 0..100, libjpeg's smoothing factor

  bool valid() const { return quality >= 1 && quality <= 100 && smoothing >= 0 && smoothing <= 100; }
  PixelLayout input_layout() const { return grayscale ? PixelLayout::kGray8 : PixelLayout::kRgb24; }
};

struct JpegEncoderState;

class JpegStripWriter {
 public:
  JpegStripWriter();
  ~JpegStripWriter();  // abandons an unfinished file
  JpegStripWriter(const JpegStripWriter&) = delete;
  JpegStripWriter& operator=(const JpegStripWriter&) = delete;

  // What libjpeg holds for one picture beside the rows it is given. With
  // optimised tables it keeps every DCT coefficient until the end, two
  // bytes each: about 3 bytes a pixel at 4:2:0, 2 for gray.
  static uint64_t WorkingBytes(int32_t width, int32_t height, const EncodeSettings& settings);

  // Checks the settings and the size, creates the temporary destination,
  // starts libjpeg and writes the marker segments of `metadata` (which
  // comes from the reader untouched; empty for none). False, creating
  // nothing, for bad settings or a destination that cannot be made.
  // `cancel` is looked at while libjpeg runs its passes.
  bool Begin(const char* destination, int32_t width, int32_t height, const EncodeSettings& settings,
             const std::vector<MetadataBlock>& metadata, const CancelRequest& cancel);

  // The finished file gets this last-write time (after a successful Begin).
  void KeepLastWriteTime(const FileTime& time) { file_.KeepLastWriteTime(time); }

  // The next `count` rows, `stride` bytes apart, in the input layout.
  bool WriteRows(const uint8_t* rows, size_t stride, int32_t count);

  // Completes the file (with optimised tables, libjpeg's output pass runs
  // here) and moves it over the destination.
  bool Finish();

  // Drops the file; the destination stays as it was.
  void Abandon();

 private:
  std::unique_ptr<JpegEncoderState> state_;
  DestinationFile file_;
  bool writing_ = false;  // between a successful Begin and Finish or a failure
};
