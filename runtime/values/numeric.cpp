// Numeric conversions that end the program on a value that is not numeric.
#include "runtime/values/numeric.h"


#include "runtime/process/runtime_error.h"

namespace {

[[noreturn]] void ReportNotNumeric() { ReportRuntimeError("欲转换数据类型不是数值", 0); }

}  // namespace

int32_t ToInteger(const Value& value) {
  int32_t result;
  if (!TryToInteger(value, &result)) ReportNotNumeric();
  return result;
}

bool TryToFloat(const Value& value, double* result) {
  switch (value.tag) {
    case kTagLong:
      *result = static_cast<double>(static_cast<int64_t>(EightBytesOf(value)));
      return true;
    case kTagSmallFloat:
      *result = SmallFloatOf(value);
      return true;
    case kTagFloat:
      *result = DoubleOf(value);
      return true;
    default: {
      int32_t integer;
      if (!TryToInteger(value, &integer)) return false;
      *result = integer;
      return true;
    }
  }
}

double ToFloat(const Value& value) {
  double result;
  if (!TryToFloat(value, &result)) ReportNotNumeric();
  return result;
}
