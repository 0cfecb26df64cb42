// The interface every picture reader has. The loader tries readers in a fixed
// order: the first whose Open accepts the file decodes it.
#pragma once

#include <cstdint>

#include "imaging/picture_buffer.h"

// Called after each decoded or encoded row: stage 1 while reading, 0 while
// writing; percent = (row + 1) * 100 / height. Optional everywhere.
using ProgressCallback = void (*)(int stage, int percent, int row, int reserved);

// What a decode will map, known once Open has accepted the file: the
// picture's size and depth, and any working block the reader maps beside it.
struct PicturePlan {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits_per_pixel = 0;
  uint64_t working_bytes = 0;
};

class PictureReader {
 public:
  virtual ~PictureReader() = default;

  // Closes the reader's file and frees its decoder state. Safe to call at
  // any time; a reader is reset before it is opened again.
  virtual void Reset() = 0;

  // Checks the file's signature and header. True when the file is this
  // reader's format and can be decoded into `buffer`; the buffer is not
  // touched yet. On false the reader has reset itself.
  virtual bool Open(const char* path, PictureBuffer* buffer, ProgressCallback progress) = 0;

  // Allocates the buffer with the picture's size and depth and fills it.
  // Only after a successful Open. False on any error: library failure,
  // truncated data, allocation failure.
  virtual bool Decode() = 0;

  // After a successful Open: what Decode is going to allocate.
  virtual PicturePlan Plan() const = 0;
};
