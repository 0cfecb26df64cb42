// A read position over stored bytes that knows how many bytes are left.
// Window templates and the property records of controls are read through it:
// every read checks the remaining length first, and once a read failed the
// cursor stays failed, so a reader can check once at the end of a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ByteCursor {
 public:
  ByteCursor(const void* data, size_t size)
      : data_(static_cast<const uint8_t*>(data)), left_(data ? size : 0) {}

  bool ok() const { return ok_; }
  size_t left() const { return ok_ ? left_ : 0; }
  bool AtEnd() const { return ok_ && left_ == 0; }
  const uint8_t* position() const { return data_; }

  // Marks the cursor failed (a reader found a value out of its range).
  void Fail() { ok_ = false; left_ = 0; }

  uint8_t U8() {
    uint8_t value = 0;
    if (Need(1)) value = Take(1)[0];
    return value;
  }

  uint16_t U16() {
    uint16_t word = 0;
    if (Need(2)) {
      const uint8_t* p = Take(2);
      word = static_cast<uint16_t>(p[0] | p[1] << 8);
    }
    return word;
  }

  uint32_t U32() {
    uint32_t word = 0;
    if (Need(4)) {
      const uint8_t* p = Take(4);
      word = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
             static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
    return word;
  }

  int32_t I32() { return static_cast<int32_t>(U32()); }

  // `count` bytes in place; null (and the cursor failed) when fewer are left.
  const uint8_t* Bytes(size_t count) { return Need(count) ? Take(count) : nullptr; }

  // A 32-bit length followed by that many bytes.
  bool LengthPrefixed(const uint8_t** bytes, uint32_t* length) {
    *length = U32();
    *bytes = Bytes(*length);
    if (!ok_) *length = 0;
    return ok_;
  }

  // A 32-bit length followed by that many bytes of text (no NUL stored). A
  // NUL inside the text would cut it short later, so it fails the read.
  std::string Text() {
    const uint8_t* bytes;
    uint32_t length;
    if (!LengthPrefixed(&bytes, &length)) return std::string();
    std::string text(reinterpret_cast<const char*>(bytes), length);
    if (text.find('\0') != std::string::npos) {
      Fail();
      return std::string();
    }
    return text;
  }

  // Text up to a NUL, which must lie within the remaining bytes.
  std::string ZeroTerminated() {
    if (!ok_) return std::string();
    size_t length = 0;
    while (length < left_ && data_[length] != 0) ++length;
    if (length == left_) {
      Fail();
      return std::string();
    }
    std::string text(reinterpret_cast<const char*>(data_), length);
    Take(length + 1);
    return text;
  }

  // True when at least `count` records of `record_size` bytes could still
  // follow: a count read from the data is checked with it before anything is
  // reserved for it.
  bool CountFits(uint32_t count, size_t record_size) {
    if (ok_ && record_size != 0 && count > left_ / record_size) Fail();
    return ok_;
  }

 private:
  bool Need(size_t count) {
    if (!ok_ || count > left_) {
      Fail();
      return false;
    }
    return true;
  }

  const uint8_t* Take(size_t count) {
    const uint8_t* start = data_;
    data_ += count;
    left_ -= count;
    return start;
  }

  const uint8_t* data_;
  size_t left_;
  bool ok_ = true;
};
