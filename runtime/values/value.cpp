// Numeric conversion shared by the runtime and the libraries.
#include "runtime/value.h"

#include <cmath>

namespace {

// Truncates toward zero to 64 bits and keeps the low word. A value that 64
// bits cannot hold (or NaN) gives the processor's "integer indefinite",
// 0x8000000000000000, whose low word is 0.
int32_t TruncateToInteger(double number) {
  if (!(std::fabs(number) < 9223372036854775808.0)) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(number))));
}

}  // namespace

bool TryToInteger(const Value& value, int32_t* result) {
  switch (value.tag) {
    case kTagByte:
      *result = static_cast<int32_t>(value.word0 & 0xFF);
      return true;
    case kTagShort:
      *result = static_cast<int16_t>(value.word0 & 0xFFFF);
      return true;
    case kTagInteger:
    case kTagLong:  // a long integer keeps its low word
      *result = static_cast<int32_t>(value.word0);
      return true;
    case kTagSmallFloat:
      *result = TruncateToInteger(SmallFloatOf(value));
      return true;
    case kTagFloat:
      *result = TruncateToInteger(DoubleOf(value));
      return true;
    default:
      return false;
  }
}
