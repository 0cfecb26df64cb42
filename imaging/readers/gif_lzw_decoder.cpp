// The code width starts one bit above the minimum code size and grows by a
// bit each time the table fills the current width, up to 12 bits; a full
// table is kept until the next clear code. A code that is one past the
// table's last entry is the previous string followed by its own first
// pixel. Every prefix points at an older entry, so strings are walked
// without cycles and fit the table's length.
#include "imaging/readers/gif_lzw_decoder.h"

GifLzwDecoder::GifLzwDecoder(FileByteSource& data, int minimum_code_size)
    : data_(data), minimum_code_size_(minimum_code_size), clear_code_(1u << minimum_code_size) {
  for (uint32_t code = 0; code < clear_code_; ++code) first_[code] = suffix_[code] = static_cast<uint8_t>(code);
  Restart();
}

void GifLzwDecoder::Restart() {
  next_entry_ = clear_code_ + 2;
  code_size_ = minimum_code_size_ + 1;
  previous_ = -1;
}

bool GifLzwDecoder::NextDataByte(uint8_t* byte) {
  if (block_left_ == 0) {
    uint8_t length = 0;
    if (blocks_ended_ || !data_.Next(&length) || length == 0) {
      blocks_ended_ = true;
      return false;
    }
    block_left_ = length;
  }
  --block_left_;
  return data_.Next(byte);
}

bool GifLzwDecoder::NextCode(uint32_t* code) {
  while (bit_count_ < code_size_) {
    uint8_t byte;
    if (!NextDataByte(&byte)) return false;
    bit_buffer_ |= uint32_t{byte} << bit_count_;
    bit_count_ += 8;
  }
  *code = bit_buffer_ & ((1u << code_size_) - 1);
  bit_buffer_ >>= code_size_;
  bit_count_ -= code_size_;
  return true;
}

bool GifLzwDecoder::Decode(uint8_t* pixels, size_t count) {
  size_t done = 0;
  while (done < count) {
    while (pending_count_ > 0 && done < count) pixels[done++] = pending_[--pending_count_];
    if (done == count) break;

    uint32_t code;
    if (!NextCode(&code)) return false;
    if (code == clear_code_) {
      Restart();
      continue;
    }
    if (code == clear_code_ + 1) return false;  // the end code, before the frame is complete
    if (previous_ < 0) {
      // The first code after a clear code has no entry to build on.
      if (code > clear_code_) return false;
      pixels[done++] = static_cast<uint8_t>(code);
      previous_ = static_cast<int32_t>(code);
      continue;
    }
    if (code > next_entry_) return false;  // names no entry yet

    // Stack the code's string from its last pixel back to its first.
    uint32_t walk = code;
    if (code == next_entry_) {
      pending_[pending_count_++] = first_[previous_];
      walk = static_cast<uint32_t>(previous_);
    }
    while (walk > clear_code_) {
      pending_[pending_count_++] = suffix_[walk];
      walk = prefix_[walk];
    }
    pending_[pending_count_++] = static_cast<uint8_t>(walk);

    if (next_entry_ < kTableSize) {
      prefix_[next_entry_] = static_cast<uint16_t>(previous_);
      suffix_[next_entry_] = pending_[pending_count_ - 1];
      first_[next_entry_] = first_[previous_];
      ++next_entry_;
      if (next_entry_ == (1u << code_size_) && code_size_ < 12) ++code_size_;
    }
    previous_ = static_cast<int32_t>(code);
  }
  return true;
}
