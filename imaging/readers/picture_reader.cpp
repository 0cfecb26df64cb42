// The reader frame: state, row counting, and the whole-picture block that
// lets every reader hand out strips.
#include "imaging/readers/picture_reader.h"

#include <cstring>

bool PictureReader::Open(const char* path, const CancelRequest& cancel) {
  Reset();
  cancel_ = cancel;
  if (path == nullptr || *path == '\0' || !ReadHeader(path, &description_)) {
    Reset();
    return false;
  }
  state_ = State::kOpen;
  return true;
}

void PictureReader::Reset() {
  ReleaseDecoder();
  whole_.Release();
  description_ = PictureDescription();
  cancel_ = CancelRequest();
  state_ = State::kClosed;
  prepared_ = false;
  next_row_ = 0;
}

bool PictureReader::Prepare() {
  if (state_ != State::kOpen) return false;
  if (!prepared_ && !CheckBeforeRows()) return Finish(false, 0);
  prepared_ = true;
  return true;
}

bool PictureReader::ReadRows(uint8_t* rows, size_t stride, int32_t count) {
  if (state_ != State::kOpen || rows == nullptr || count < 1 || count > description_.height - next_row_ ||
      stride < description_.stride())
    return Finish(false, 0);
  if (!Prepare()) return false;
  if (description_.supply == RowSupply::kStrips) return Finish(ReadStrip(rows, stride, count), count);

  // The format needs the whole picture: decode it once into our own block,
  // then copy strips out of it.
  if (next_row_ == 0) {
    const int32_t bits = BytesPerPixel(description_.layout) * 8;
    if (!whole_.Allocate(description_.width, description_.height, bits, 0) ||
        !DecodeWhole(whole_.pixels(), whole_.stride())) {
      whole_.Release();
      return Finish(false, 0);
    }
    ReleaseDecoder();
  }
  for (int32_t y = 0; y < count; ++y) std::memcpy(rows + y * stride, whole_.row(next_row_ + y), whole_.stride());
  return Finish(true, count);
}

bool PictureReader::ReadWholePicture(uint8_t* pixels, size_t stride) {
  if (state_ != State::kOpen || next_row_ != 0 || pixels == nullptr || stride < description_.stride())
    return Finish(false, 0);
  if (!Prepare()) return false;
  return Finish(DecodeWhole(pixels, stride), description_.height);
}

bool PictureReader::ReadStrip(uint8_t*, size_t, int32_t) { return false; }

bool PictureReader::DecodeWhole(uint8_t* pixels, size_t stride) {
  return ReadStrip(pixels, stride, description_.height);
}

// Counts the rows handed out; the file and decoder go as soon as they are
// no longer needed, and a failure is final.
bool PictureReader::Finish(bool ok, int32_t rows) {
  if (!ok) {
    ReleaseDecoder();
    whole_.Release();
    state_ = State::kFailed;
    return false;
  }
  next_row_ += rows;
  if (next_row_ == description_.height) {
    ReleaseDecoder();
    whole_.Release();
  }
  return true;
}
