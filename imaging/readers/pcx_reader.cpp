// PCX layout: a 128-byte header (0x0A, version, encoding, bits per pixel at
// 3, xmin/ymin/xmax/ymax at 4..11, planes at 65, bytes per line per plane at
// 66), then run-length encoded lines of planes x bytes-per-line bytes, and
// for 8 bits a 768-byte palette closing the file. A byte of 0xC0 or more is
// a run: its low six bits count repeats of the next byte. Runs are cut at
// the end of their line.
#include "imaging/readers/pcx_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/picture_limits.h"

namespace {

constexpr int64_t kHeaderSize = 128;
constexpr int64_t kPaletteSize = 768;
constexpr int64_t kLongestRun = 63;

// Decodes one line of `size` bytes; false when the data ends first.
bool DecodeLine(FileByteSource& data, uint8_t* line, size_t size) {
  size_t at = 0;
  while (at < size) {
    uint8_t code;
    if (!data.Next(&code)) return false;
    if (code < 0xC0) {
      line[at++] = code;
      continue;
    }
    uint8_t value;
    if (!data.Next(&value)) return false;
    const size_t count = std::min<size_t>(code & 0x3F, size - at);
    std::memset(line + at, value, count);
    at += count;
  }
  return true;
}

}  // namespace

void PcxReader::ResetFormat() {
  width_ = height_ = planes_ = bytes_per_line_ = 0;
  data_end_ = 0;
  data_.Release();
  line_ = std::vector<uint8_t>();
}

bool PcxReader::ReadHeader(const char* path, PictureDescription* description) {
  uint8_t header[kHeaderSize];
  if (!file_.Open(path) || !file_.ReadExactly(header, sizeof header) || header[0] != 0x0A)
    return false;
  // Extents are inclusive; a maximum at or below its minimum is refused.
  const int64_t width = int64_t{LoadLittle16(header + 8)} - LoadLittle16(header + 4) + 1;
  const int64_t height = int64_t{LoadLittle16(header + 10)} - LoadLittle16(header + 6) + 1;
  if (width < 2 || height < 2) return false;

  // 8 bits in one plane (paletted) or in three (red, green, blue); other
  // splits of the same total, such as 1 bit in 8 planes, are not decoded.
  const int bits = header[3], planes = header[65];
  if (bits != 8 || (planes != 1 && planes != 3)) return false;
  const int32_t bytes_per_line = LoadLittle16(header + 66);
  if (bytes_per_line < width) return false;
  if (!PictureFitsLimits(width, height, static_cast<unsigned>(planes))) return false;

  const int64_t size = file_.Size();
  int64_t data_end = size;
  if (planes == 1) {
    if (size < kHeaderSize + kPaletteSize) return false;
    data_end = size - kPaletteSize;
    uint8_t palette[kPaletteSize];
    if (!file_.Seek(data_end) || !file_.ReadExactly(palette, sizeof palette)) return false;
    for (int i = 0; i < 256; ++i)
      description->palette[i] = {palette[3 * i], palette[3 * i + 1], palette[3 * i + 2], 0};
    description->palette_count = 256;
  }
  width_ = static_cast<int32_t>(width);
  height_ = static_cast<int32_t>(height);
  planes_ = planes;
  bytes_per_line_ = bytes_per_line;
  data_end_ = data_end;
  description->width = width_;
  description->height = height_;
  description->layout = planes == 1 ? PixelLayout::kPalette8 : PixelLayout::kRgb24;
  description->working_bytes = FileByteSource::kChunkBytes + static_cast<uint64_t>(planes) * static_cast<uint64_t>(bytes_per_line);
  return true;
}

// Each line takes at least one two-byte run per 63 bytes, so data shorter
// than that cannot hold the picture.
bool PcxReader::CheckBeforeRows() {
  const int64_t line_size = int64_t{planes_} * bytes_per_line_;
  const int64_t runs_per_line = (line_size + kLongestRun - 1) / kLongestRun;
  return data_end_ - kHeaderSize >= runs_per_line * 2 * height_;
}

bool PcxReader::ReadStrip(uint8_t* rows, size_t stride, int32_t count) {
  const size_t line_size = static_cast<size_t>(planes_) * static_cast<size_t>(bytes_per_line_);
  if (!data_.started()) {
    if (!data_.Start(&file_, kHeaderSize, data_end_)) return false;
    line_.resize(line_size);
  }
  const size_t plane = static_cast<size_t>(bytes_per_line_);
  for (int32_t y = 0; y < count; ++y) {
    if (!DecodeLine(data_, line_.data(), line_size)) return false;
    uint8_t* out = rows + y * stride;
    if (planes_ == 1) {
      std::memcpy(out, line_.data(), static_cast<size_t>(width_));
    } else {
      const uint8_t* red = line_.data();
      for (int32_t x = 0; x < width_; ++x, out += 3) {
        out[0] = red[x];
        out[1] = red[plane + x];
        out[2] = red[2 * plane + x];
      }
    }
  }
  return true;
}
