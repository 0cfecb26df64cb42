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
  // A move keeps the file's times, so the destination appears with its own.
  if (ok && keep_last_write_) ok = WriteLastWriteTime(temporary_.c_str(), last_write_);
  if (ok) ok = MoveOver(temporary_, destination_);
  if (!ok) std::remove(temporary_.c_str());
  temporary_.clear();
  keep_last_write_ = false;
  return ok;
}

void DestinationFile::Abandon() {
  keep_last_write_ = false;
  if (stream_ != nullptr) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!temporary_.empty()) {
    std::remove(temporary_.c_str());
    temporary_.clear();
  }
}
