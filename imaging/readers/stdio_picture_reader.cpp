#include "imaging/readers/stdio_picture_reader.h"

void StdioPictureReader::Reset() {
  file_.Close();
  buffer_ = nullptr;
  progress_ = nullptr;
  ResetHeader();
}

bool StdioPictureReader::Open(const char* path, PictureBuffer* buffer, ProgressCallback progress) {
  Reset();
  if (buffer == nullptr || !ReadHeader(path)) {
    Reset();
    return false;
  }
  buffer_ = buffer;
  progress_ = progress;
  return true;
}

bool StdioPictureReader::Decode() {
  const bool decoded = buffer_ != nullptr && file_.is_open() && DecodePicture();
  file_.Close();
  return decoded;
}

void StdioPictureReader::ReportRow(int32_t row, int32_t height) const {
  if (progress_ != nullptr) progress_(1, static_cast<int>((int64_t{row} + 1) * 100 / height), row, 0);
}
