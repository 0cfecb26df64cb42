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

bool PcdReader::ReadHeader(const char* path) {
  char signature[4];
  return file_.Open(path) && file_.Size() > kSmallestPacSize && file_.Seek(kSignatureOffset) &&
         file_.ReadExactly(signature, sizeof signature) && std::memcmp(signature, "PCD_", 4) == 0;
}

bool PcdReader::DecodePicture() {
  const Resolution& size = kResolutions[resolution_];
  if (!buffer_->Allocate(size.width, size.height, 24, 0) || !file_.Seek(size.offset)) return false;

  double luma_scaled[256];
  for (int i = 0; i < 256; ++i) luma_scaled[i] = 1.407488 * i;

  // Y1, Y2 and the chroma row of one row pair, read at once.
  const size_t row = static_cast<size_t>(size.width);
  std::vector<uint8_t> pair(3 * row);
  const uint8_t* y1 = pair.data();
  const uint8_t* y2 = y1 + row;
  const uint8_t* c1 = y2 + row;
  const uint8_t* c2 = c1 + row / 2;
  for (int32_t y = 0; y < size.height; y += 2) {
    if (!file_.ReadExactly(pair.data(), pair.size())) return false;
    ConvertRow(y1, c1, c2, luma_scaled, size.width, buffer_->row(y));
    ConvertRow(y2, c1, c2, luma_scaled, size.width, buffer_->row(y + 1));
    ReportRow(y, size.height);
    ReportRow(y + 1, size.height);
  }
  return true;
}

PicturePlan PcdReader::Plan() const {
  return PicturePlan{WidthOf(resolution_), HeightOf(resolution_), 24, 0};
}
