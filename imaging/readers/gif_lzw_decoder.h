// Decodes the compressed pixels of one GIF frame: variable-width LZW codes
// packed low bit first into data blocks of up to 255 bytes, each behind its
// length byte, up to a block of length 0. Pixels come out in any portions
// the caller asks for, so a frame can be decoded row by row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/readers/file_byte_source.h"

class GifLzwDecoder {
 public:
  // `data` stands at the first data block; `minimum_code_size` (1 to 8) is
  // the byte before it.
  GifLzwDecoder(FileByteSource& data, int minimum_code_size);

  // Writes the next `count` pixels. False when the data or its blocks end,
  // the end code comes, or a code names no entry, before all are written.
  bool Decode(uint8_t* pixels, size_t count);

 private:
  static constexpr uint32_t kTableSize = 4096;  // codes are at most 12 bits

  void Restart();
  bool NextCode(uint32_t* code);
  bool NextDataByte(uint8_t* byte);

  FileByteSource& data_;
  uint32_t block_left_ = 0;  // bytes left in the current data block
  bool blocks_ended_ = false;
  uint32_t bit_buffer_ = 0;
  int bit_count_ = 0;

  const int minimum_code_size_;
  const uint32_t clear_code_;  // the end code follows it; entries after that
  uint32_t next_entry_ = 0;
  int code_size_ = 0;
  int32_t previous_ = -1;  // the last code, or -1 right after a clear code
  // Entry e is the string of prefix_[e] followed by suffix_[e]; first_[e]
  // is its first pixel. Codes below clear_code_ stand for themselves.
  uint16_t prefix_[kTableSize];
  uint8_t suffix_[kTableSize];
  uint8_t first_[kTableSize];
  // Pixels of the last code not yet handed out, last pixel at the bottom.
  uint8_t pending_[kTableSize];
  uint32_t pending_count_ = 0;
};
