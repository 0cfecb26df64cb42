// BMP layout: a 14-byte file header ("BM" or "BA", the pixel-data offset at
// byte 10), then the info header, whose length is taken as the pixel-data
// offset less 14. Twelve bytes mean the OS/2 form (16-bit sizes, bit count
// at byte 10); longer ones the Windows form (32-bit sizes, bit count at 14,
// compression at 16). Rows are padded to four bytes and hold blue, green,
// red.
#include "imaging/readers/bmp_reader.h"

#include <algorithm>
#include <vector>

#include "imaging/picture_limits.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;     // OS/2 form
constexpr uint32_t kWindowsFieldsSize = 20;  // up to and with the compression field
// About this many bytes of rows are read with one seek and one read.
constexpr size_t kBytesPerRead = 256 * 1024;

size_t FileRowBytes(int32_t width) { return (static_cast<size_t>(width) * 24 + 31) / 32 * 4; }
int32_t RowsPerRead(size_t file_row) {
  return file_row >= kBytesPerRead ? 1 : static_cast<int32_t>(kBytesPerRead / file_row);
}

// Blue, green, red as stored to red, green, blue.
void BgrToRgb(const uint8_t* in, uint8_t* out, int32_t width) {
  for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
  }
}

}  // namespace

void BmpReader::ResetFormat() {
  width_ = height_ = 0;
  bottom_up_ = false;
  pixel_offset_ = 0;
  file_rows_ = std::vector<uint8_t>();
}

bool BmpReader::ReadHeader(const char* path, PictureDescription* description) {
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
  description->width = width_;
  description->height = height_;
  description->layout = PixelLayout::kRgb24;
  description->working_bytes = FileRowBytes(width_) * static_cast<size_t>(std::min(RowsPerRead(FileRowBytes(width_)), height_));
  return true;
}

// A file too short for its rows, or with a lying pixel-data offset, fails
// before any row. Within the limits, so none of this can overflow.
bool BmpReader::CheckBeforeRows() {
  const int64_t needed = int64_t{pixel_offset_} + static_cast<int64_t>(FileRowBytes(width_)) * height_;
  return file_.Size() >= needed;
}

// Rows y .. y + count - 1 of the picture. In a bottom-up file they are one
// run of file rows ending at file row height - 1 - y, read in pieces from
// the run's bottom, which is the picture's upper end.
bool BmpReader::ReadStrip(uint8_t* rows, size_t stride, int32_t count) {
  const size_t file_row = FileRowBytes(width_);
  const int32_t rows_per_read = RowsPerRead(file_row);
  int32_t y = rows_read();
  for (int32_t done = 0; done < count;) {
    const int32_t run = count - done < rows_per_read ? count - done : rows_per_read;
    // The first file row of the run: the picture's rows y .. y + run - 1.
    const int64_t first = bottom_up_ ? int64_t{height_} - y - run : y;
    file_rows_.resize(file_row * static_cast<size_t>(run));
    if (!file_.Seek(pixel_offset_ + first * static_cast<int64_t>(file_row)) ||
        !file_.ReadExactly(file_rows_.data(), file_rows_.size()))
      return false;
    for (int32_t i = 0; i < run; ++i) {
      const int32_t stored = bottom_up_ ? run - 1 - i : i;
      BgrToRgb(file_rows_.data() + static_cast<size_t>(stored) * file_row, rows + (done + i) * stride, width_);
    }
    done += run;
    y += run;
  }
  return true;
}
