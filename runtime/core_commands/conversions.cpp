// Conversions of any value: to text, to number, to byte set.
//
// Text forms the runtime chooses: a logical is "真" or "假"; a date-time
// (days since 30 December 1899 as a double, the fraction the time of day)
// is "2004年3月7日" with "12时5分9秒" added when the time is not midnight;
// floats print with up to 15 significant digits (7 for the small float).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/values/arrays.h"
#include "runtime/values/byte_sets.h"
#include "runtime/core_commands.h"
#include "runtime/core_commands/arguments.h"
#include "runtime/values/memory.h"
#include "runtime/values/texts.h"

namespace {

std::string DecimalOf(int64_t number) {
  // Built by hand: the C library's 64-bit printf formats differ between
  // Windows runtimes.
  uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
  char digits[24];
  int at = sizeof digits;
  digits[--at] = '\0';
  do {
    digits[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (number < 0) digits[--at] = '-';
  return std::string(digits + at);
}

std::string FormatDouble(double number, int digits) {
  char text[40];
  std::snprintf(text, sizeof text, "%.*g", digits, number);
  return text;
}

// Civil date from a day count since 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto day_of_era = static_cast<unsigned>(days - era * 146097);
  const unsigned year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned shifted_month = (5 * day_of_year + 2) / 153;
  *day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  *month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  *year = static_cast<int64_t>(year_of_era) + era * 400 + (*month <= 2 ? 1 : 0);
}

std::string DateTimeText(double days_since_1899) {
  if (!std::isfinite(days_since_1899) || std::fabs(days_since_1899) > 3e6) return std::string();
  // Rounded to the second, so 0.9999999 of a day does not print as 23:59:59.
  const auto seconds = static_cast<int64_t>(std::llround(days_since_1899 * 86400.0));
  int64_t days = seconds / 86400;
  int64_t second_of_day = seconds % 86400;
  if (second_of_day < 0) {
    second_of_day += 86400;
    --days;
  }
  int64_t year;
  unsigned month, day;
  CivilFromDays(days - 25569, &year, &month, &day);  // 25569 days from 1899-12-30 to 1970-01-01
  std::string text = DecimalOf(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
  if (second_of_day) {
    text += std::to_string(second_of_day / 3600) + "时" + std::to_string(second_of_day / 60 % 60) + "分" +
            std::to_string(second_of_day % 60) + "秒";
  }
  return text;
}

// Bytes up to the first zero, at most `length`.
std::string BytesUpToZero(const uint8_t* bytes, uint64_t length) {
  const void* zero = length ? std::memchr(bytes, 0, static_cast<size_t>(length)) : nullptr;
  const size_t used = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : static_cast<size_t>(length);
  return std::string(reinterpret_cast<const char*>(bytes), used);
}

bool IsNumericArray(uint32_t tag) { return IsArrayTag(tag) && IsNumericTag(ElementTagOf(tag)); }

uint64_t ArrayDataBytes(const void* array, uint32_t element_tag) {
  return ArrayElementCount(array) * ElementWidth(element_tag);
}

std::string TextFormOf(const Value& value) {
  switch (value.tag) {
    case kTagByte: return std::to_string(value.word0 & 0xFF);
    case kTagShort: return std::to_string(static_cast<int16_t>(value.word0 & 0xFFFF));
    case kTagInteger: return std::to_string(static_cast<int32_t>(value.word0));
    case kTagLong: return DecimalOf(static_cast<int64_t>(EightBytesOf(value)));
    case kTagSmallFloat: return FormatDouble(SmallFloatOf(value), 7);
    case kTagFloat: return FormatDouble(DoubleOf(value), 15);
    case kTagLogical: return value.word0 ? "真" : "假";
    case kTagDateTime: return DateTimeText(DoubleOf(value));
    case kTagText: return TextOf(value);
    case kTagByteSet: {
      const void* block = PointerOf(value);
      return BytesUpToZero(ByteSetBytes(block), ByteSetLength(block));
    }
    default:
      if (IsNumericArray(value.tag) && PointerOf(value)) {
        const void* array = PointerOf(value);
        return BytesUpToZero(ArrayElements(array), ArrayDataBytes(array, ElementTagOf(value.tag)));
      }
      return std::string();
  }
}

}  // namespace

void ToText(Value* result, int32_t count, const Value* args) {
  const std::string text = TextFormOf(core::ArgumentAt(count, args, 0));
  *result = OwnTextValue(CopyTextBytes(text.data(), static_cast<uint32_t>(text.size())));
}

// Text goes through strtod: text that is no number gives 0.
void ToNumber(Value* result, int32_t count, const Value* args) {
  const Value value = core::ArgumentAt(count, args, 0);
  double number = 0;
  if (value.tag == kTagLogical) {
    number = value.word0 ? 1 : 0;
  } else if (value.tag == kTagText) {
    number = std::strtod(TextOf(value), nullptr);
  } else if (value.tag == kTagSubProgram) {
    number = static_cast<double>(reinterpret_cast<uintptr_t>(PointerOf(value)));
  } else if (!TryToFloat(value, &number)) {
    number = 0;
  }
  *result = MakeFloat(number);
}

void ToByteSet(Value* result, int32_t count, const Value* args) {
  const Value value = core::ArgumentAt(count, args, 0);
  void* block = nullptr;
  switch (value.tag) {
    case kTagText: {
      const char* text = TextOf(value);
      block = MakeByteSet(text, TextLength(text));
      break;
    }
    case kTagByteSet: {
      const void* source = PointerOf(value);
      block = MakeByteSet(ByteSetBytes(source), ByteSetLength(source));
      break;
    }
    case kTagByte: block = MakeByteSet(&value.word0, 1); break;  // little-endian: low bytes first
    case kTagShort: block = MakeByteSet(&value.word0, 2); break;
    case kTagInteger:
    case kTagSmallFloat:
    case kTagLogical: block = MakeByteSet(&value.word0, 4); break;
    case kTagSubProgram: {
      // The code address whole: 4 bytes on the 32-bit target, 8 on 64-bit.
      const auto address = reinterpret_cast<uintptr_t>(PointerOf(value));
      block = MakeByteSet(&address, sizeof address);
      break;
    }
    case kTagLong:
    case kTagFloat:
    case kTagDateTime:
    case kTagEightBytes: {
      const uint64_t bytes = EightBytesOf(value);
      block = MakeByteSet(&bytes, 8);
      break;
    }
    default:
      if (IsNumericArray(value.tag) && PointerOf(value)) {
        const void* array = PointerOf(value);
        const uint64_t bytes = ArrayDataBytes(array, ElementTagOf(value.tag));
        if (bytes > 0x7FFFFFFF) ReportAllocationFailure(bytes);
        block = MakeByteSet(ArrayElements(array), static_cast<uint32_t>(bytes));
      }
      break;
  }
  *result = OwnByteSetValue(block);
}
