// Numeric conversion and pointer storage of value records.
#include "runtime/value.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

int32_t Converted(const Value& value) {
  int32_t result = 12345;
  EXPECT_TRUE(TryToInteger(value, &result)) << "tag " << std::hex << value.tag;
  return result;
}

Value SmallFloat(float number) {
  Value value{0, 0, kTagSmallFloat};
  std::memcpy(&value.word0, &number, sizeof number);
  return value;
}

TEST(ValueRecord, IntegerTypesConvertFromWordZero) {
  EXPECT_EQ(Converted(Value{0x1FF, 0, kTagByte}), 0xFF);
  EXPECT_EQ(Converted(Value{0xFFFF, 0, kTagShort}), -1);
  EXPECT_EQ(Converted(Value{0x12348000, 0, kTagShort}), -32768);
  EXPECT_EQ(Converted(MakeInteger(-7)), -7);
  EXPECT_EQ(Converted(MakeLong(0x100000005LL)), 5);  // low word only
}

TEST(ValueRecord, FloatsTruncateTowardZero) {
  EXPECT_EQ(Converted(MakeFloat(85.9)), 85);
  EXPECT_EQ(Converted(MakeFloat(-2.7)), -2);
  EXPECT_EQ(Converted(SmallFloat(99.99f)), 99);
  EXPECT_EQ(Converted(MakeFloat(4294967301.0)), 5);  // 2^32 + 5: low word
  EXPECT_EQ(Converted(MakeFloat(1e300)), 0);          // beyond 64 bits
}

TEST(ValueRecord, NonNumericTagsAreRefused) {
  int32_t result = 0;
  EXPECT_FALSE(TryToInteger(LendText("12"), &result));
  EXPECT_FALSE(TryToInteger(MakeLogical(true), &result));
  EXPECT_FALSE(TryToInteger(OmittedArgument(), &result));
}

TEST(ValueRecord, TextPointersRoundTripAndNullIsEmpty) {
  static const char kText[] = "图片";
  const Value text = LendText(kText);
  EXPECT_EQ(TextOf(text), kText);
  if (sizeof(void*) == 4) {
    EXPECT_EQ(text.word1, 0u);
  }
  EXPECT_STREQ(TextOf(Value{0, 0, kTagText}), "");
}

void Echo(Value* result, int32_t count, const Value* args) {
  *result = MakeInteger(count == 0 ? -1 : static_cast<int32_t>(args[count - 1].word0));
}

TEST(ValueRecord, CommandFrameHandsCountAndArguments) {
  const Value args[] = {MakeInteger(3), MakeInteger(9)};
  const Value result = CallCommand(Echo, args);
  EXPECT_EQ(result.tag, kTagInteger);
  EXPECT_EQ(result.word0, 9u);
}

}  // namespace
