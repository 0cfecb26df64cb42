// Image pac decoding. Each pair of picture rows is stored as a luma row for
// the upper row, one for the lower row, and one chroma row of the same
// length whose first half is C1 and second half C2; horizontally adjacent
// pixel pairs share their chroma samples.
#include "imaging/readers/pcd_reader.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Resolution {
  int32_t width, height;
  int64_t offset;
};
constexpr Resolution kResolutions[] = {
    {192, 128, 8192},
    {384, 256, 0xB800},
    {768, 512, 0x30000},
};

// Each luma level scaled once.
const struct LumaTable {
  double scaled[256];
  LumaTable() {
    for (int i = 0; i < 256; ++i) scaled[i] = 1.407488 * i;
  }
} kLuma;

uint8_t Clamped(double value) {
  const double rounded = std::floor(value + 0.5);
  return rounded <= 0 ? 0 : rounded >= 255 ? 255 : static_cast<uint8_t>(rounded);
}

// One luma row and its chroma halves into red, green, blue. The terms are
// summed in the order of the colour formula so that rounding matches it.
void ConvertRow(const uint8_t* luma, const uint8_t* c1_row, const uint8_t* c2_row,
                const double* luma_scaled, int32_t width, uint8_t* out) {
  for (int32_t x = 0; x < width; x += 2) {
    const double c1 = c1_row[x / 2] - 156.0;
    const double c2 = c2_row[x / 2] - 137.0;
    const double red_c2 = 1.3230336 * c2, red_c1 = 0.0000256 * c1;
    const double green_c = 0.67392 * c2 + 0.3954176 * c1;
    const double blue_c2 = 0.0000256 * c2, blue_c1 = 2.0360448 * c1;
    for (int32_t i = x; i < x + 2 && i < width; ++i, out += 3) {
      const double y = luma_scaled[luma[i]];
      out[0] = Clamped(y + red_c2 + red_c1);
      out[1] = Clamped(y - green_c);
      out[2] = Clamped(y + blue_c2 + blue_c1);
    }
  }
}

}  // namespace

PcdReader::PcdReader(int resolution) : resolution_(resolution >= 0 && resolution <= 2 ? resolution : 2) {}

int32_t PcdReader::WidthOf(int resolution) { return kResolutions[resolution].width; }
int32_t PcdReader::HeightOf(int resolution) { return kResolutions[resolution].height; }
int64_t PcdReader::OffsetOf(int resolution) { return kResolutions[resolution].offset; }

bool PcdReader::ReadHeader(const char* path, PictureDescription* description) {
  char signature[4];
  if (!file_.Open(path) || file_.Size() <= kSmallestPacSize || !file_.Seek(kSignatureOffset) ||
      !file_.ReadExactly(signature, sizeof signature) || std::memcmp(signature, "PCD_", 4) != 0)
    return false;
  const Resolution& size = kResolutions[resolution_];
  description->width = size.width;
  description->height = size.height;
  description->layout = PixelLayout::kRgb24;
  description->working_bytes = 4 * static_cast<uint64_t>(size.width);
  return true;
}

void PcdReader::ResetFormat() {
  positioned_ = false;
  pair_ = std::vector<uint8_t>();
  lower_ = std::vector<uint8_t>();
  lower_pending_ = false;
}

// Rows come in pairs; a strip that ends between the rows of a pair keeps
// the lower row for the next strip.
bool PcdReader::ReadStrip(uint8_t* rows, size_t stride, int32_t count) {
  const Resolution& size = kResolutions[resolution_];
  const size_t width = static_cast<size_t>(size.width);
  if (!positioned_) {
    if (!file_.Seek(size.offset)) return false;
    positioned_ = true;
    pair_.resize(3 * width);
    lower_.resize(3 * width);
  }
  const uint8_t* y1 = pair_.data();
  const uint8_t* y2 = y1 + width;
  const uint8_t* c1 = y2 + width;
  const uint8_t* c2 = c1 + width / 2;
  for (int32_t y = 0; y < count; ++y) {
    uint8_t* out = rows + y * stride;
    if (lower_pending_) {
      std::memcpy(out, lower_.data(), 3 * width);
      lower_pending_ = false;
      continue;
    }
    if (!file_.ReadExactly(pair_.data(), pair_.size())) return false;
    ConvertRow(y1, c1, c2, kLuma.scaled, size.width, out);
    if (y + 1 < count) {
      ConvertRow(y2, c1, c2, kLuma.scaled, size.width, rows + (y + 1) * stride);
      ++y;
    } else {
      ConvertRow(y2, c1, c2, kLuma.scaled, size.width, lower_.data());
      lower_pending_ = true;
    }
  }
  return true;
}
