// TIFF through libtiff's RGBA interface. Strips come from TIFFRGBAImageGet
// over a window of rows at a time, the whole picture from the same routine
// over all its rows (what TIFFReadRGBAImage does), so both give the same
// pixels.
//
// libtiff's messages go to handlers given to each open file, never to its
// process-wide ones (stderr, or a message box on Windows). libtiff itself
// never jumps, so no setjmp is needed.
#include "imaging/readers/tiff_reader.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <string>
#include <vector>

#include "imaging/mapped_block.h"
#include "imaging/picture_limits.h"
#include "imaging/readers/icc_profile.h"
#include "imaging/readers/stdio_file.h"
#include "imaging/readers/tiff_exif_block.h"

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
  // "m": read, not map, the file: a mapped file counts whole into the
  // process's memory (and its address space) as its strips are read.
  TIFF* file = TIFFOpenExt(path, "rm", options);
  TIFFOpenOptionsFree(options);
  return file;
}

// One raster row into the handed-out layout; each raster value packs R, G,
// B and A from the low byte up, whatever the byte order of the machine. A
// gray picture's raster holds its level in all three colours.
void RasterRowToLayout(const uint32_t* source, uint32_t width, PixelLayout layout, uint8_t* out) {
  if (layout == PixelLayout::kGray8) {
    for (uint32_t x = 0; x < width; ++x) out[x] = static_cast<uint8_t>(TIFFGetR(source[x]));
  } else if (layout == PixelLayout::kArgb32) {
    for (uint32_t x = 0; x < width; ++x, out += 4) {
      const uint32_t value = source[x];
      out[0] = static_cast<uint8_t>(TIFFGetA(value));
      out[1] = static_cast<uint8_t>(TIFFGetR(value));
      out[2] = static_cast<uint8_t>(TIFFGetG(value));
      out[3] = static_cast<uint8_t>(TIFFGetB(value));
    }
  } else {
    for (uint32_t x = 0; x < width; ++x, out += 3) {
      const uint32_t value = source[x];
      out[0] = static_cast<uint8_t>(TIFFGetR(value));
      out[1] = static_cast<uint8_t>(TIFFGetG(value));
      out[2] = static_cast<uint8_t>(TIFFGetB(value));
    }
  }
}

// Samples the RGBA interface would read as integers but that are not.
bool FloatingPointSamples(TIFF* file) {
  uint16_t format = SAMPLEFORMAT_UINT;
  TIFFGetFieldDefaulted(file, TIFFTAG_SAMPLEFORMAT, &format);
  return format == SAMPLEFORMAT_IEEEFP || format == SAMPLEFORMAT_COMPLEXIEEEFP;
}

// libtiff reading without a mapping rounds its buffer of stored bytes up to
// whole KiB, then refuses an uncompressed tile whose size is not exactly
// that buffer's. A buffer of our own of exactly one tile avoids it; a tile
// larger than the file cannot be read anyway.
bool GiveUncompressedTilesTheirBuffer(TIFF* file, const char* path, std::vector<uint8_t>* buffer) {
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(file, TIFFTAG_COMPRESSION, &compression);
  if (!TIFFIsTiled(file) || compression != COMPRESSION_NONE) return true;
  const uint64_t tile_bytes = TIFFTileSize64(file);
  StdioFile whole;
  const int64_t file_bytes = whole.Open(path) ? whole.Size() : -1;
  if (tile_bytes == 0 || file_bytes < 0 || tile_bytes > static_cast<uint64_t>(file_bytes)) return false;
  buffer->resize(static_cast<size_t>(tile_bytes));
  return TIFFReadBufferSetup(file, buffer->data(), static_cast<tmsize_t>(tile_bytes)) == 1;
}

// The profile and XMP tags, and the EXIF directory as a block of its own.
void CollectTiffMetadata(TIFF* file, const char* path, bool gray, PictureDescription* description) {
  std::string exif = ExifBlockOfTiffFile(path);
  if (!exif.empty()) description->metadata.push_back(MetadataBlock{MetadataKind::kExif, std::move(exif)});
  uint32_t size = 0;
  void* data = nullptr;
  if (TIFFGetField(file, TIFFTAG_XMLPACKET, &size, &data) == 1 && data != nullptr && size > 0)
    description->metadata.push_back(MetadataBlock{MetadataKind::kXmp, std::string(static_cast<char*>(data), size)});
  if (TIFFGetField(file, TIFFTAG_ICCPROFILE, &size, &data) == 1 && data != nullptr && size > 0)
    HandOnProfile(std::string(static_cast<char*>(data), size), gray, description);
}

// Orientations whose first stored row is the picture's top row: the RGBA
// interface flips them into a bottom-up raster window by window.
bool StoredTopDown(uint16_t orientation) {
  return orientation == ORIENTATION_TOPLEFT || orientation == ORIENTATION_TOPRIGHT ||
         orientation == ORIENTATION_LEFTTOP || orientation == ORIENTATION_RIGHTTOP;
}

// Rows a window holds: whole blocks (strips, or tile rows), as many as fit
// about 1 MiB of raster, and never more than the picture.
uint32_t WindowRows(uint32_t block_rows, uint32_t width, uint32_t height) {
  const uint64_t block_bytes = uint64_t{block_rows} * width * 4;
  const uint64_t blocks = block_bytes >= (1u << 20) ? 1 : (1u << 20) / block_bytes;
  return static_cast<uint32_t>(std::min<uint64_t>(blocks * block_rows, height));
}

}  // namespace

// The RGBA image begun with the header, and the window of raster rows
// decoded last (mapped like any picture memory: a single-strip file's
// window is the whole picture).
struct TiffWindowState {
  TIFFRGBAImage image;
  bool begun = false;
  MappedBlock raster;
  uint32_t first = 0;  // picture row of the window's top
  uint32_t rows = 0;   // rows in the window; 0 before the first

  ~TiffWindowState() {
    if (begun) TIFFRGBAImageEnd(&image);
  }
};

TiffReader::TiffReader() = default;
TiffReader::~TiffReader() { Reset(); }

void TiffReader::ReleaseDecoder() {
  window_.reset();
  if (file_ != nullptr) TIFFClose(file_);
  file_ = nullptr;
  width_ = height_ = window_rows_ = 0;
  std::vector<uint8_t>().swap(tile_buffer_);
}

bool TiffReader::ReadHeader(const char* path, PictureDescription* description) {
  file_ = OpenQuietly(path);
  if (file_ == nullptr) return false;
  uint32_t width = 0, height = 0;
  // The RGBA raster takes four bytes a pixel: that is what must fit.
  if (TIFFGetField(file_, TIFFTAG_IMAGEWIDTH, &width) != 1 ||
      TIFFGetField(file_, TIFFTAG_IMAGELENGTH, &height) != 1 || width == 0 || height == 0 ||
      !PictureFitsLimits(width, height, 4) || FloatingPointSamples(file_))
    return false;
  width_ = width;
  height_ = height;
  if (!GiveUncompressedTilesTheirBuffer(file_, path, &tile_buffer_)) return false;

  // Beginning the RGBA image tells whether the interface can read the
  // layout at all, and whether the picture has alpha. It stops at the first
  // damaged strip or tile: a picture with holes is a failed decode, not a
  // success with blank rows.
  char message[1024];
  window_.reset(new TiffWindowState);
  if (!TIFFRGBAImageOK(file_, message) || !TIFFRGBAImageBegin(&window_->image, file_, 1, message)) return false;
  window_->begun = true;
  const TIFFRGBAImage& image = window_->image;
  const bool gray = image.photometric == PHOTOMETRIC_MINISBLACK || image.photometric == PHOTOMETRIC_MINISWHITE;
  description->layout = image.alpha != 0 ? PixelLayout::kArgb32 : gray ? PixelLayout::kGray8 : PixelLayout::kRgb24;
  // Associated alpha is stored multiplied in; unassociated alpha the
  // interface multiplies into RGB colours only.
  description->alpha_premultiplied = image.alpha == EXTRASAMPLE_ASSOCALPHA ||
                                     (image.alpha == EXTRASAMPLE_UNASSALPHA && image.photometric == PHOTOMETRIC_RGB);

  uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetFieldDefaulted(file_, TIFFTAG_ORIENTATION, &orientation);
  uint32_t block_rows = 0;
  if (TIFFIsTiled(file_)) TIFFGetField(file_, TIFFTAG_TILELENGTH, &block_rows);
  else TIFFGetFieldDefaulted(file_, TIFFTAG_ROWSPERSTRIP, &block_rows);
  block_rows = std::min(block_rows, height);

  description->width = static_cast<int32_t>(width);
  description->height = static_cast<int32_t>(height);
  const uint64_t pixels = uint64_t{width} * height;
  if (!StoredTopDown(orientation) || block_rows == 0) {
    // Decoded whole: the RGBA raster beside the picture.
    description->supply = RowSupply::kWholePicture;
    description->working_bytes = pixels * 4;
  } else {
    window_rows_ = WindowRows(block_rows, width, height);
    // The raster of a window, and libtiff's decoded strip or tiles of it.
    const uint64_t stored_row = static_cast<uint64_t>(TIFFScanlineSize64(file_));
    description->working_bytes = uint64_t{window_rows_} * width * 4 + uint64_t{block_rows} * stored_row;
  }
  description->working_bytes += tile_buffer_.size();
  CollectTiffMetadata(file_, path, gray, description);
  return true;
}

// Hands out rows from the current window, decoding the next window of the
// picture whenever the current one is used up.
bool TiffReader::ReadStrip(uint8_t* rows, size_t stride, int32_t count) {
  if (file_ == nullptr || window_ == nullptr || window_rows_ == 0) return false;
  TiffWindowState& window = *window_;
  if (window.raster.data() == nullptr) {
    window.image.req_orientation = ORIENTATION_BOTLEFT;
    if (!window.raster.Allocate(static_cast<size_t>(window_rows_) * width_ * 4)) return false;
  }
  auto* raster = reinterpret_cast<uint32_t*>(window.raster.data());
  for (int32_t done = 0; done < count;) {
    const uint32_t y = static_cast<uint32_t>(rows_read() + done);
    if (y >= window.first + window.rows) {
      window.first = y;
      window.rows = std::min(window_rows_, height_ - y);
      window.image.row_offset = static_cast<int>(y);
      window.image.col_offset = 0;
      if (TIFFRGBAImageGet(&window.image, raster, width_, window.rows) == 0) return false;
    }
    // The window's raster holds its bottom row first.
    const uint32_t raster_row = window.first + window.rows - 1 - y;
    RasterRowToLayout(raster + static_cast<size_t>(raster_row) * width_, width_, description().layout,
                      rows + done * stride);
    ++done;
  }
  return true;
}

// The whole picture at once into a raster of its own, bottom row first.
bool TiffReader::DecodeWhole(uint8_t* pixels, size_t stride) {
  if (file_ == nullptr || window_ == nullptr) return false;
  MappedBlock raster;
  TIFFRGBAImage& image = window_->image;
  image.req_orientation = ORIENTATION_BOTLEFT;
  image.row_offset = image.col_offset = 0;
  if (!raster.Allocate(static_cast<size_t>(width_) * height_ * 4) ||
      TIFFRGBAImageGet(&image, reinterpret_cast<uint32_t*>(raster.data()), width_, height_) == 0)
    return false;
  const auto* bottom_first = reinterpret_cast<const uint32_t*>(raster.data());
  for (uint32_t y = 0; y < height_; ++y)
    RasterRowToLayout(bottom_first + static_cast<size_t>(height_ - 1 - y) * width_, width_, description().layout,
                      pixels + y * stride);
  return true;
}
