// Core commands on byte sets: zero bytes, left part, find, replace. Positions
// are 1-based; bytes are matched exactly, without double-byte stepping.
#include <cstring>
#include <vector>

#include "runtime/values/byte_sets.h"
#include "runtime/core_commands.h"
#include "runtime/core_commands/arguments.h"
#include "runtime/values/memory.h"

using core::ByteSetArgument;
using core::IntegerArgument;

namespace {

// A 1-based start position as an offset; positions below 1 start at 1.
uint32_t StartOffset(int32_t count, const Value* args, int32_t index) {
  const int32_t start = IntegerArgument(count, args, index, 1);
  return start < 1 ? 0 : static_cast<uint32_t>(start - 1);
}

// Offset of the first occurrence at or after `from`, or -1; an empty
// pattern occurs nowhere.
int64_t FindBytes(const uint8_t* bytes, uint32_t length, const uint8_t* pattern, uint32_t pattern_length,
                  uint32_t from) {
  if (pattern_length == 0 || pattern_length > length) return -1;
  for (uint32_t at = from; at <= length - pattern_length; ++at) {
    if (std::memcmp(bytes + at, pattern, pattern_length) == 0) return at;
  }
  return -1;
}

}  // namespace

void ZeroBytes(Value* result, int32_t count, const Value* args) {
  const int32_t length = IntegerArgument(count, args, 0, 0);
  *result = OwnByteSetValue(length > 0 ? MakeByteSet(nullptr, static_cast<uint32_t>(length)) : nullptr);
}

void LeftOfBytes(Value* result, int32_t count, const Value* args) {
  const void* block = ByteSetArgument(count, args, 0);
  const int32_t wanted = IntegerArgument(count, args, 1, 0);
  const uint32_t length = ByteSetLength(block);
  const uint32_t kept = wanted <= 0 ? 0 : (static_cast<uint32_t>(wanted) < length ? static_cast<uint32_t>(wanted) : length);
  *result = OwnByteSetValue(MakeByteSet(ByteSetBytes(block), kept));
}

// (byte set, bytes to find, start position (optional)).
void FindInBytes(Value* result, int32_t count, const Value* args) {
  const void* block = ByteSetArgument(count, args, 0);
  const void* pattern = ByteSetArgument(count, args, 1);
  const int64_t at = FindBytes(ByteSetBytes(block), ByteSetLength(block), ByteSetBytes(pattern),
                               ByteSetLength(pattern), StartOffset(count, args, 2));
  *result = MakeInteger(at < 0 ? -1 : static_cast<int32_t>(at + 1));
}

// (byte set, bytes to find, replacement (optional), start position
// (optional), maximum count (optional; absent means every occurrence)).
void ReplaceInBytes(Value* result, int32_t count, const Value* args) {
  const void* block = ByteSetArgument(count, args, 0);
  const void* pattern = ByteSetArgument(count, args, 1);
  const void* replacement = ByteSetArgument(count, args, 2);
  const uint32_t from = StartOffset(count, args, 3);
  // -1: no limit; a negative maximum counts as 0, as in split text.
  int64_t remaining = -1;
  if (core::IsPresent(count, args, 4)) {
    const int32_t wanted = IntegerArgument(count, args, 4, 0);
    remaining = wanted < 0 ? 0 : wanted;
  }

  const uint8_t* bytes = ByteSetBytes(block);
  const uint32_t length = ByteSetLength(block);
  const uint32_t pattern_length = ByteSetLength(pattern);
  std::vector<uint8_t> out;
  out.reserve(length);
  uint32_t copied = 0;  // bytes of the source already handled
  uint32_t search = from;
  while (remaining != 0) {
    const int64_t at = FindBytes(bytes, length, ByteSetBytes(pattern), pattern_length, search);
    if (at < 0) break;
    out.insert(out.end(), bytes + copied, bytes + at);
    out.insert(out.end(), ByteSetBytes(replacement), ByteSetBytes(replacement) + ByteSetLength(replacement));
    copied = static_cast<uint32_t>(at) + pattern_length;
    search = copied;
    if (remaining > 0) --remaining;
  }
  if (length) out.insert(out.end(), bytes + copied, bytes + length);
  if (out.size() > 0x7FFFFFF0) ReportAllocationFailure(out.size());
  *result = OwnByteSetValue(MakeByteSet(out.data(), static_cast<uint32_t>(out.size())));
}
