// Reading the arguments of the library's commands: an argument that was not
// passed, or passed with the omitted tag, takes the command's default; a
// given argument of the wrong type is the runtime's fatal type error. And
// the integer arrays some of them answer with.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/control_types.h"
#include "runtime/service_calls.h"

namespace controls {

// The runtime error "the argument's type does not fit".
using ::kWrongArgumentTypeError;

// The argument at `index`, which must be passed with the tag `tag`.
inline const Value& ArgumentOfType(int32_t count, const Value* args, int32_t index, uint32_t tag) {
  if (index >= count || args[index].tag != tag) ReportRuntimeErrorCode(kWrongArgumentTypeError);
  return args[index];
}

inline bool IsGiven(int32_t count, const Value* args, int32_t index) {
  return index < count && !IsOmitted(args[index]);
}

inline int32_t IntegerArgument(int32_t count, const Value* args, int32_t index, int32_t fallback) {
  return IsGiven(count, args, index) ? ToInteger(args[index]) : fallback;
}

// A lent text, "" when omitted; valid for the command's call.
inline const char* TextArgument(int32_t count, const Value* args, int32_t index,
                                const char* fallback = "") {
  if (!IsGiven(count, args, index)) return fallback;
  if (args[index].tag != kTagText) ReportRuntimeErrorCode(kWrongArgumentTypeError);
  return TextOf(args[index]);
}

inline bool LogicalArgument(int32_t count, const Value* args, int32_t index, bool fallback) {
  if (!IsGiven(count, args, index)) return fallback;
  if (args[index].tag == kTagLogical) return args[index].word0 != 0;
  return ToInteger(args[index]) != 0;
}

// A new one-dimensional integer array holding `numbers`.
inline Value NewIntegerArrayValue(const std::vector<int32_t>& numbers) {
  const uint32_t size = static_cast<uint32_t>(numbers.size());
  void* array = AllocateArray(&size, 1, sizeof(int32_t));
  if (size != 0) std::memcpy(ArrayElements(array), numbers.data(), size * sizeof(int32_t));
  return OwnArrayValue(array, kTagInteger);
}

}  // namespace controls
