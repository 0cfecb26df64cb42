// Copy, assignment and comparison of text values.
#include "runtime/values/texts.h"

#include <cstring>

#include "runtime/values/memory.h"

uint32_t TextLength(const char* text) {
  return text ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

char* CopyTextBytes(const char* bytes, uint32_t length) {
  if (length == 0) return nullptr;
  auto* copy = static_cast<char*>(AllocateComputedSize(uint64_t{length} + 1));
  std::memcpy(copy, bytes, length);
  copy[length] = '\0';
  return copy;
}

char* CopyText(const char* text) { return CopyTextBytes(text, TextLength(text)); }

void AssignText(char** target, const char* source) {
  if (*target == source) return;
  char* copy = CopyText(source);
  FreeMemory(*target);
  *target = copy;
}

int CompareTexts(const char* left, const char* right) {
  // strcmp compares as unsigned char, which is the byte order wanted here.
  return std::strcmp(left ? left : "", right ? right : "");
}

Value OwnTextValue(char* text) {
  Value value{0, 0, kTagText};
  StorePointer(value, text);
  return value;
}

namespace {

unsigned char LowerAscii(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

bool MatchesAt(const char* text, const char* pattern, uint32_t pattern_length, bool ignore_case) {
  uint32_t i = 0;
  while (i < pattern_length) {
    const auto have = static_cast<unsigned char>(text[i]);
    const auto want = static_cast<unsigned char>(pattern[i]);
    if (IsDoubleByteAt(text, i, pattern_length)) {
      // Both bytes of a double-byte character compare exactly: its trail
      // byte may look like an ASCII letter.
      if (have != want || text[i + 1] != pattern[i + 1]) return false;
      i += 2;
      continue;
    }
    if (ignore_case ? LowerAscii(have) != LowerAscii(want) : have != want) return false;
    ++i;
  }
  return true;
}

}  // namespace

int64_t FindTextBytes(const char* text, uint32_t length, const char* pattern, uint32_t pattern_length,
                      uint32_t from, bool ignore_case) {
  // Start on the first character boundary at or after `from`, found by
  // walking from the beginning: `from` itself may be a trail byte.
  uint32_t at = 0;
  while (at < from) at += IsDoubleByteAt(text, at, length) ? 2 : 1;
  while (at < length && length - at >= pattern_length) {
    if (MatchesAt(text + at, pattern, pattern_length, ignore_case)) return at;
    at += IsDoubleByteAt(text, at, length) ? 2 : 1;
  }
  return -1;
}
