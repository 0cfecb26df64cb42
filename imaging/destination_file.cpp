// The platform-neutral half of DestinationFile: finishing or dropping the
// temporary file. Creating it and moving it into place are per platform.
#include "imaging/destination_file.h"

#include <cstdio>

bool DestinationFile::Commit() {
  if (stream_ == nullptr) return false;
  // A write error may only show when the buffered bytes are flushed.
  bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
  ok = std::fclose(stream_) == 0 && ok;
  stream_ = nullptr;
  if (ok) ok = MoveOver(temporary_, destination_);
  if (!ok) std::remove(temporary_.c_str());
  temporary_.clear();
  return ok;
}

void DestinationFile::Abandon() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!temporary_.empty()) {
    std::remove(temporary_.c_str());
    temporary_.clear();
  }
}
