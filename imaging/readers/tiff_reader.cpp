// libtiff's messages go to handlers given to each open file, never to its
// process-wide ones (stderr, or a message box on Windows). libtiff itself
// never jumps, so no setjmp is needed.
#include "imaging/readers/tiff_reader.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstring>

#include "imaging/mapped_block.h"
#include "imaging/picture_limits.h"

namespace {

// Messages are dropped; the reader's result says what happened. Returning 1
// keeps libtiff from passing them on to its process-wide handlers.
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// The few messages libtiff sends without a file go to the process-wide
// handlers; those are silenced once, before the first file is opened.
void QuietGlobally(const char*, const char*, va_list) {}
void SilenceProcessWideHandlers() {
  static const bool silenced = [] {
    TIFFSetErrorHandler(QuietGlobally);
    TIFFSetWarningHandler(QuietGlobally);
    return true;
  }();
  (void)silenced;
}

// Opens with handlers of this file's own, so that nothing process-wide is
// changed and concurrent decodes do not meet in libtiff's global state.
TIFF* OpenQuietly(const char* path) {
  SilenceProcessWideHandlers();
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options == nullptr) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
  TIFF* file = TIFFOpenExt(path, "r", options);
  TIFFOpenOptionsFree(options);
  return file;
}

}  // namespace

void TiffReader::Reset() {
  if (file_ != nullptr) TIFFClose(file_);
  file_ = nullptr;
  target_ = nullptr;
  progress_ = nullptr;
  width_ = height_ = 0;
}

bool TiffReader::Open(const char* path, PictureBuffer* buffer, ProgressCallback progress) {
  Reset();
  if (path == nullptr || buffer == nullptr) return false;
  file_ = OpenQuietly(path);
  if (file_ == nullptr) return false;
  uint32_t width = 0, height = 0;
  // The RGBA raster takes four bytes a pixel: that is what must fit.
  if (TIFFGetField(file_, TIFFTAG_IMAGEWIDTH, &width) != 1 ||
      TIFFGetField(file_, TIFFTAG_IMAGELENGTH, &height) != 1 || width == 0 || height == 0 ||
      !PictureFitsLimits(width, height, 4)) {
    Reset();
    return false;
  }
  width_ = width;
  height_ = height;
  target_ = buffer;
  progress_ = progress;
  return true;
}

bool TiffReader::Decode() {
  if (file_ == nullptr || target_ == nullptr) return false;
  const size_t pixels = static_cast<size_t>(width_) * height_;
  // Stop at the first damaged strip or tile: a picture with holes is a
  // failed decode, not a success with blank rows.
  MappedBlock raster;
  bool ok = raster.Allocate(pixels * 4) &&
            target_->Allocate(static_cast<int32_t>(width_), static_cast<int32_t>(height_), 24, 0) &&
            TIFFReadRGBAImage(file_, width_, height_, reinterpret_cast<uint32_t*>(raster.data()), 1) != 0;
  if (ok) {
    // The raster holds the bottom row first; each value packs R, G, B and A
    // from the low byte up, whatever the byte order of the machine.
    for (uint32_t y = 0; y < height_; ++y) {
      const uint8_t* source = raster.data() + static_cast<size_t>(height_ - 1 - y) * width_ * 4;
      uint8_t* out = target_->row(static_cast<int32_t>(y));
      for (uint32_t x = 0; x < width_; ++x, source += 4, out += 3) {
        uint32_t value;
        std::memcpy(&value, source, sizeof value);
        out[0] = static_cast<uint8_t>(TIFFGetR(value));
        out[1] = static_cast<uint8_t>(TIFFGetG(value));
        out[2] = static_cast<uint8_t>(TIFFGetB(value));
      }
      if (progress_) progress_(1, static_cast<int>((y + 1) * 100ULL / height_), static_cast<int>(y), 0);
    }
  }
  Reset();
  return ok;
}

// The RGBA raster is mapped beside the picture for the whole decode.
PicturePlan TiffReader::Plan() const {
  return PicturePlan{static_cast<int32_t>(width_), static_cast<int32_t>(height_), 24,
                     uint64_t{width_} * height_ * 4};
}
