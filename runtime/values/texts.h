// Text values: NUL-terminated GBK strings on the value heap, where the null
// pointer is the empty text. Every text a variable holds owns its block.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// Length in bytes; 0 for null.
uint32_t TextLength(const char* text);

// A new heap copy of `length` bytes plus a NUL; null when `length` is 0.
char* CopyTextBytes(const char* bytes, uint32_t length);
// A new heap copy of a whole text; null for the empty text.
char* CopyText(const char* text);

// Assigns a copy of `source` to the variable `*target`, freeing its old text.
// The empty text leaves the variable null; assigning a text to itself does
// nothing. `source` may point into the old text: it is copied before the old
// block is freed.
void AssignText(char** target, const char* source);

// Byte-wise unsigned comparison, null being the empty text: < 0, 0 or > 0.
int CompareTexts(const char* left, const char* right);

// A text record that owns `text` (a heap block or null).
Value OwnTextValue(char* text);

// True when `text[at]` starts a double-byte GBK character: a lead byte with
// the high bit set that has a byte after it. Searches step over such a pair.
inline bool IsDoubleByteAt(const char* text, uint32_t at, uint32_t length) {
  return (static_cast<unsigned char>(text[at]) & 0x80) != 0 && at + 1 < length;
}

// The byte offset of the first match of `pattern` at or after offset `from`,
// or -1. Candidate positions are character boundaries counted from the start
// of the text, so a match never starts on a trail byte; with `ignore_case`, ASCII letters match
// either case while the bytes of double-byte characters match exactly.
// `pattern_length` must be above 0.
int64_t FindTextBytes(const char* text, uint32_t length, const char* pattern, uint32_t pattern_length,
                      uint32_t from, bool ignore_case);
