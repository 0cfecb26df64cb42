// Reading the arguments of a core command. An argument past the count reads
// as omitted; one of the wrong type is runtime error 11.
#pragma once

#include <cstdint>

#include "runtime/values/numeric.h"
#include "runtime/process/runtime_error.h"
#include "runtime/value.h"

namespace core {

inline Value ArgumentAt(int32_t count, const Value* args, int32_t index) {
  return index < count ? args[index] : OmittedArgument();
}

inline bool IsPresent(int32_t count, const Value* args, int32_t index) {
  return !IsOmitted(ArgumentAt(count, args, index));
}

// A text argument; "" when omitted or null.
inline const char* TextArgument(int32_t count, const Value* args, int32_t index) {
  const Value value = ArgumentAt(count, args, index);
  if (value.tag != kTagText && value.tag != kTagOmitted) ReportRuntimeErrorCode(kWrongArgumentTypeError);
  return TextOf(value);
}

// A byte-set argument; null when omitted or empty.
inline const void* ByteSetArgument(int32_t count, const Value* args, int32_t index) {
  const Value value = ArgumentAt(count, args, index);
  if (value.tag != kTagByteSet && value.tag != kTagOmitted) ReportRuntimeErrorCode(kWrongArgumentTypeError);
  return PointerOf(value);
}

// A number argument; `fallback` when omitted, the fatal conversion error
// when it is not numeric.
inline int32_t IntegerArgument(int32_t count, const Value* args, int32_t index, int32_t fallback) {
  const Value value = ArgumentAt(count, args, index);
  return IsOmitted(value) ? fallback : ToInteger(value);
}

// A logical argument: false when omitted; a number counts as true when not 0.
inline bool LogicalArgument(int32_t count, const Value* args, int32_t index) {
  const Value value = ArgumentAt(count, args, index);
  if (IsOmitted(value)) return false;
  if (value.tag == kTagLogical) return value.word0 != 0;
  return ToInteger(value) != 0;
}

}  // namespace core
