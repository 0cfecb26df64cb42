// The reading half of the BMP reader: plain rows are read a run of rows at
// a time with one seek and one read each, run-length data through a
// buffered source. Headers are imaging/readers/bmp_header.*.
#include "imaging/readers/bmp_reader.h"

#include <algorithm>

#include "imaging/readers/bmp_rle.h"
#include "imaging/readers/bmp_row_unpacker.h"

namespace {

// About this many bytes of rows are read with one seek and one read.
constexpr uint64_t kBytesPerRead = 256 * 1024;

int32_t RowsPerRead(uint64_t file_row) {
  return file_row >= kBytesPerRead ? 1 : static_cast<int32_t>(kBytesPerRead / file_row);
}

}  // namespace

BmpReader::BmpReader() = default;
BmpReader::~BmpReader() = default;

void BmpReader::ResetFormat() {
  header_.reset();
  unpacker_.reset();
  file_rows_ = std::vector<uint8_t>();
  rle_data_.Release();
}

bool BmpReader::ReadHeader(const char* path, PictureDescription* description) {
  std::unique_ptr<BmpHeader> header(new BmpHeader);
  if (!file_.Open(path) || !ReadBmpHeader(file_, header.get())) return false;
  description->width = header->width;
  description->height = header->height;
  description->layout = header->layout();
  description->palette_count = header->palette_count;
  std::copy(header->palette, header->palette + 256, description->palette);
  if (header->coding == BmpCoding::kPlain) {
    description->working_bytes =
        header->file_row_bytes() * static_cast<uint64_t>(std::min(RowsPerRead(header->file_row_bytes()), header->height));
  } else {
    description->supply = RowSupply::kWholePicture;
    description->working_bytes = FileByteSource::kChunkBytes;
  }
  if (!header->profile.empty()) description->metadata.push_back({MetadataKind::kIcc, std::move(header->profile)});
  header_ = std::move(header);
  return true;
}

// A file too short for its plain rows, or with a lying pixel-data offset,
// fails before any row. Within the limits, so none of this can overflow.
// Run-length data has no length to check beyond its first pair.
bool BmpReader::CheckBeforeRows() {
  const uint64_t rows = header_->coding == BmpCoding::kPlain ? header_->file_row_bytes() * static_cast<uint64_t>(header_->height) : 2;
  return static_cast<uint64_t>(header_->file_size) >= header_->pixel_offset + rows;
}

// Rows y .. y + count - 1 of the picture. In a bottom-up file they are one
// run of file rows ending at file row height - 1 - y, read in pieces from
// the run's bottom, which is the picture's upper end.
bool BmpReader::ReadStrip(uint8_t* rows, size_t stride, int32_t count) {
  if (unpacker_ == nullptr) unpacker_.reset(new BmpRowUnpacker(*header_));
  const size_t file_row = static_cast<size_t>(header_->file_row_bytes());
  const int32_t rows_per_read = RowsPerRead(file_row);
  int32_t y = rows_read();
  for (int32_t done = 0; done < count;) {
    const int32_t run = std::min(count - done, rows_per_read);
    // The first file row of the run: the picture's rows y .. y + run - 1.
    const int64_t first = header_->bottom_up ? int64_t{header_->height} - y - run : y;
    file_rows_.resize(file_row * static_cast<size_t>(run));
    if (!file_.Seek(header_->pixel_offset + first * static_cast<int64_t>(file_row)) ||
        !file_.ReadExactly(file_rows_.data(), file_rows_.size()))
      return false;
    for (int32_t i = 0; i < run; ++i) {
      const int32_t stored = header_->bottom_up ? run - 1 - i : i;
      unpacker_->Unpack(file_rows_.data() + static_cast<size_t>(stored) * file_row, rows + (done + i) * stride);
    }
    done += run;
    y += run;
  }
  return true;
}

bool BmpReader::DecodeWhole(uint8_t* pixels, size_t stride) {
  if (header_->coding == BmpCoding::kPlain) return ReadStrip(pixels, stride, header_->height);
  return rle_data_.Start(&file_, header_->pixel_offset, header_->file_size) &&
         DecodeBmpRle(rle_data_, header_->coding == BmpCoding::kRle4, header_->width, header_->height, pixels,
                      stride, cancel());
}
