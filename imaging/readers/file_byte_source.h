// The bytes of a stretch of a file, handed out one at a time or in short
// runs and read in large chunks: for the readers of compressed data, which
// cannot know in advance how many bytes a row takes. Running out of the
// stretch is a failure the caller sees, never bytes that read as zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/readers/stdio_file.h"

class FileByteSource {
 public:
  static constexpr size_t kChunkBytes = 64 * 1024;

  // Hands out the bytes of `file` from offset `begin` up to `end`. The file
  // must stay open while the source is used.
  bool Start(StdioFile* file, int64_t begin, int64_t end);
  // Frees the chunk; Start makes a new one.
  void Release();
  bool started() const { return file_ != nullptr; }

  bool Next(uint8_t* byte) {
    if (at_ == filled_ && !Refill()) return false;
    *byte = chunk_[at_++];
    return true;
  }
  bool Read(uint8_t* bytes, size_t count);
  bool Skip(size_t count);

 private:
  bool Refill();

  StdioFile* file_ = nullptr;
  int64_t left_in_file_ = 0;
  std::vector<uint8_t> chunk_;
  size_t at_ = 0, filled_ = 0;
};
