#include "imaging/readers/file_byte_source.h"

#include <algorithm>
#include <cstring>

bool FileByteSource::Start(StdioFile* file, int64_t begin, int64_t end) {
  file_ = file;
  left_in_file_ = end > begin ? end - begin : 0;
  at_ = filled_ = 0;
  chunk_.resize(kChunkBytes);
  return file_->Seek(begin);
}

void FileByteSource::Release() {
  file_ = nullptr;
  left_in_file_ = 0;
  at_ = filled_ = 0;
  chunk_ = std::vector<uint8_t>();
}

bool FileByteSource::Read(uint8_t* bytes, size_t count) {
  while (count > 0) {
    if (at_ == filled_ && !Refill()) return false;
    const size_t run = std::min(count, filled_ - at_);
    std::memcpy(bytes, chunk_.data() + at_, run);
    at_ += run;
    bytes += run;
    count -= run;
  }
  return true;
}

bool FileByteSource::Skip(size_t count) {
  while (count > 0) {
    if (at_ == filled_ && !Refill()) return false;
    const size_t run = std::min(count, filled_ - at_);
    at_ += run;
    count -= run;
  }
  return true;
}

bool FileByteSource::Refill() {
  if (file_ == nullptr || left_in_file_ <= 0) return false;
  const size_t bytes = static_cast<size_t>(std::min<int64_t>(left_in_file_, static_cast<int64_t>(chunk_.size())));
  if (!file_->ReadExactly(chunk_.data(), bytes)) return false;
  left_in_file_ -= static_cast<int64_t>(bytes);
  at_ = 0;
  filled_ = bytes;
  return true;
}
