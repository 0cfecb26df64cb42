// BMP layout: a 14-byte file header ("BM" or "BA", the pixel-data offset at
// byte 10), then the info header, whose length is taken as the pixel-data
// offset less 14. Twelve bytes mean the OS/2 form (16-bit sizes, bit count
// at byte 10); longer ones the Windows form (32-bit sizes, bit count at 14,
// compression at 16). Rows are padded to four bytes and hold blue, green,
// red.
#include "imaging/readers/bmp_reader.h"

#include <vector>

#include "imaging/picture_limits.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;     // OS/2 form
constexpr uint32_t kWindowsFieldsSize = 20;  // up to and with the compression field

}  // namespace

void BmpReader::ResetHeader() {
  width_ = height_ = 0;
  bottom_up_ = false;
  pixel_offset_ = 0;
}

bool BmpReader::ReadHeader(const char* path) {
  uint8_t header[kFileHeaderSize + kWindowsFieldsSize];
  if (!file_.Open(path) || !file_.ReadExactly(header, kFileHeaderSize)) return false;
  if (header[0] != 'B' || (header[1] != 'M' && header[1] != 'A')) return false;
  const uint32_t offset = LoadLittle32(header + 10);
  const uint32_t info_size = offset >= kFileHeaderSize ? offset - kFileHeaderSize : 0;
  const uint8_t* info = header + kFileHeaderSize;

  // Sizes are widened to 64 bits before any arithmetic: a height of
  // INT32_MIN must be refused, not negated.
  int64_t width = 0, height = 0;
  unsigned bit_count = 0;
  if (info_size == kCoreHeaderSize) {
    if (!file_.ReadExactly(header + kFileHeaderSize, kCoreHeaderSize)) return false;
    width = LoadLittle16(info + 4);
    height = LoadLittle16(info + 6);
    bit_count = LoadLittle16(info + 10);
  } else if (info_size >= kWindowsFieldsSize) {
    if (!file_.ReadExactly(header + kFileHeaderSize, kWindowsFieldsSize)) return false;
    width = static_cast<int32_t>(LoadLittle32(info + 4));
    height = static_cast<int32_t>(LoadLittle32(info + 8));
    bit_count = LoadLittle16(info + 14);
    if (LoadLittle32(info + 16) > 3) return false;
  } else {
    return false;
  }

  if (bit_count != 24 || width < 1 || height == 0) return false;
  const bool bottom_up = height > 0;
  if (height < 0) height = -height;
  if (!PictureFitsLimits(width, height, 3)) return false;

  width_ = static_cast<int32_t>(width);
  height_ = static_cast<int32_t>(height);
  bottom_up_ = bottom_up;
  pixel_offset_ = offset;
  return true;
}

bool BmpReader::DecodePicture() {
  // Within the limits, so none of this can overflow.
  const size_t file_row = (static_cast<size_t>(width_) * 24 + 31) / 32 * 4;
  const int64_t needed = int64_t{pixel_offset_} + static_cast<int64_t>(file_row) * height_;
  // A file too short for its rows, or with a lying pixel-data offset, fails
  // here, before a picture of the claimed size is allocated.
  if (file_.Size() < needed) return false;
  if (!buffer_->Allocate(width_, height_, 24, 0) || !file_.Seek(pixel_offset_)) return false;

  std::vector<uint8_t> row(file_row);
  for (int32_t i = 0; i < height_; ++i) {
    if (!file_.ReadExactly(row.data(), file_row)) return false;
    const int32_t y = bottom_up_ ? height_ - 1 - i : i;
    uint8_t* out = buffer_->row(y);
    const uint8_t* in = row.data();
    for (int32_t x = 0; x < width_; ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
    ReportRow(i, height_);
  }
  return true;
}

PicturePlan BmpReader::Plan() const { return PicturePlan{width_, height_, 24, 0}; }
