// Core commands on texts: left and right parts, find, trim, spaces.
#include <cstring>

#include "runtime/core_commands.h"
#include "runtime/core_commands/arguments.h"
#include "runtime/values/memory.h"
#include "runtime/values/texts.h"

using core::IntegerArgument;
using core::TextArgument;

namespace {

// The parts of a text cut by byte counts; n of 0 or less gives "".
uint32_t ClampedLength(int32_t wanted, uint32_t length) {
  if (wanted <= 0) return 0;
  return static_cast<uint32_t>(wanted) < length ? static_cast<uint32_t>(wanted) : length;
}

bool IsBlankAt(const char* text, uint32_t at, uint32_t length) {
  if (text[at] == ' ') return true;
  return static_cast<unsigned char>(text[at]) == 0xA1 && at + 1 < length &&
         static_cast<unsigned char>(text[at + 1]) == 0xA1;
}

}  // namespace

void LeftOfText(Value* result, int32_t count, const Value* args) {
  const char* text = TextArgument(count, args, 0);
  const uint32_t length = ClampedLength(IntegerArgument(count, args, 1, 0), TextLength(text));
  *result = OwnTextValue(CopyTextBytes(text, length));
}

void RightOfText(Value* result, int32_t count, const Value* args) {
  const char* text = TextArgument(count, args, 0);
  const uint32_t total = TextLength(text);
  const uint32_t length = ClampedLength(IntegerArgument(count, args, 1, 0), total);
  *result = OwnTextValue(CopyTextBytes(text + (total - length), length));
}

// (text, text to find, start position (optional, 1-based), ignore case).
void FindInText(Value* result, int32_t count, const Value* args) {
  const char* text = TextArgument(count, args, 0);
  const char* pattern = TextArgument(count, args, 1);
  const int32_t start = IntegerArgument(count, args, 2, 1);
  const bool ignore_case = core::LogicalArgument(count, args, 3);
  const uint32_t length = TextLength(text);
  const uint32_t from = start < 1 ? 0 : static_cast<uint32_t>(start - 1);
  int32_t position = -1;
  if (from < length) {
    if (*pattern == '\0') {
      position = 1;
    } else {
      const int64_t at = FindTextBytes(text, length, pattern, TextLength(pattern), from, ignore_case);
      if (at >= 0) position = static_cast<int32_t>(at + 1);
    }
  }
  *result = MakeInteger(position);
}

// Walks the text unit by unit (a double-byte character is one unit) so that
// a trail byte 0xA1 is never taken for half of a full-width space.
void TrimBothEnds(Value* result, int32_t count, const Value* args) {
  const char* text = TextArgument(count, args, 0);
  const uint32_t length = TextLength(text);
  uint32_t first = length;  // start of the first unit that is not blank
  uint32_t end = 0;         // end of the last unit that is not blank
  for (uint32_t at = 0; at < length;) {
    const uint32_t unit = IsDoubleByteAt(text, at, length) ? 2 : 1;
    if (!IsBlankAt(text, at, length)) {
      if (first == length) first = at;
      end = at + unit;
    }
    at += unit;
  }
  *result = OwnTextValue(first < end ? CopyTextBytes(text + first, end - first) : nullptr);
}

void TextOfSpaces(Value* result, int32_t count, const Value* args) {
  const int32_t spaces = IntegerArgument(count, args, 0, 0);
  char* text = nullptr;
  if (spaces > 0) {
    text = static_cast<char*>(AllocateComputedSize(uint64_t(spaces) + 1));
    std::memset(text, ' ', static_cast<size_t>(spaces));
    text[spaces] = '\0';
  }
  *result = OwnTextValue(text);
}
