// The core commands through the command-call frame: texts with GBK
// double-byte characters, conversions, byte sets and settings items.
#include "runtime/core_commands.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "runtime/values/arrays.h"
#include "runtime/values/byte_sets.h"
#include "runtime/values/memory.h"
#include "tests/support/scratch_folder.h"

namespace {

// A lent byte set built on the test's stack: the block layout itself.
class Bytes {
 public:
  explicit Bytes(const std::string& bytes) : block_(8 + bytes.size()) {
    const uint32_t header[2] = {1, static_cast<uint32_t>(bytes.size())};
    std::memcpy(block_.data(), header, 8);
    std::memcpy(block_.data() + 8, bytes.data(), bytes.size());
  }
  Value value() const {
    Value record{0, 0, kTagByteSet};
    StorePointer(record, block_.data());
    return record;
  }

 private:
  std::vector<uint8_t> block_;
};

// Calls a command and takes ownership of what it returns.
Value Invoke(Command command, std::initializer_list<Value> args) {
  return CallCommand(command, static_cast<int32_t>(args.size()), args.begin());
}

std::string TakeText(const Value& value) {
  EXPECT_EQ(value.tag, kTagText);
  const std::string text = TextOf(value);
  if (PointerOf(value)) {
    EXPECT_NE(text, "") << "the empty text must be null";
  }
  FreeMemory(PointerOf(value));
  return text;
}

std::string TakeBytes(const Value& value) {
  EXPECT_EQ(value.tag, kTagByteSet);
  const void* block = PointerOf(value);
  if (block) {
    EXPECT_NE(ByteSetLength(block), 0u) << "the empty byte set must be null";
  }
  const std::string bytes(reinterpret_cast<const char*>(ByteSetBytes(block)), ByteSetLength(block));
  FreeMemory(PointerOf(value));
  return bytes;
}

std::vector<std::string> TakeTexts(const Value& value) {
  EXPECT_EQ(value.tag, kTagText | kArrayTagFlag);
  void* array = PointerOf(value);
  EXPECT_EQ(ArrayDimensionCount(array), 1u);
  std::vector<std::string> texts;
  char* const* elements = reinterpret_cast<char* const*>(ArrayElements(array));
  for (uint64_t i = 0; i < ArrayElementCount(array); ++i) {
    texts.push_back(elements[i] ? elements[i] : "");
    FreeMemory(elements[i]);
  }
  FreeMemory(array);
  return texts;
}

int32_t Integer(const Value& value) {
  EXPECT_EQ(value.tag, kTagInteger);
  return static_cast<int32_t>(value.word0);
}

double Float(const Value& value) {
  EXPECT_EQ(value.tag, kTagFloat);
  const uint64_t bits = value.word0 | (uint64_t{value.word1} << 32);
  double number;
  std::memcpy(&number, &bits, sizeof number);
  return number;
}

const Value kOmitted = OmittedArgument();
const Value kNoCase = MakeLogical(true);
const Value kCase = MakeLogical(false);

// "啊" is 0xB0 0xA1; 0x81 0x41 is a double-byte character whose trail byte
// is the ASCII letter 'A'.
const char kTrailA[] = "\x81\x41";

TEST(CoreCommandTable, TwentyNamedCommands) {
  ASSERT_EQ(kCoreCommandCount, 20u);
  std::set<std::string> names;
  for (size_t i = 0; i < kCoreCommandCount; ++i) {
    EXPECT_NE(kCoreCommands[i].command, nullptr) << kCoreCommands[i].name;
    EXPECT_TRUE(names.insert(kCoreCommands[i].name).second) << "twice: " << kCoreCommands[i].name;
    EXPECT_EQ(FindCoreCommand(kCoreCommands[i].name), kCoreCommands[i].command);
  }
  EXPECT_EQ(FindCoreCommand("split text"), &SplitText);
  EXPECT_EQ(FindCoreCommand("pop up menu"), &PopUpMenu);
  EXPECT_EQ(FindCoreCommand("no such command"), nullptr);
}

TEST(TextCommands, LeftAndRightCountBytes) {
  EXPECT_EQ(TakeText(Invoke(LeftOfText, {LendText("abcdef"), MakeInteger(2)})), "ab");
  EXPECT_EQ(TakeText(Invoke(LeftOfText, {LendText("abc"), MakeInteger(9)})), "abc");
  EXPECT_EQ(TakeText(Invoke(LeftOfText, {LendText("abc"), MakeInteger(0)})), "");
  EXPECT_EQ(TakeText(Invoke(LeftOfText, {LendText("abc"), MakeInteger(-3)})), "");
  EXPECT_EQ(TakeText(Invoke(RightOfText, {LendText("abcdef"), MakeInteger(2)})), "ef");
  EXPECT_EQ(TakeText(Invoke(RightOfText, {LendText("abc"), MakeInteger(5)})), "abc");
  EXPECT_EQ(TakeText(Invoke(RightOfText, {LendText(nullptr), MakeInteger(5)})), "");
  // Lengths are bytes: a double-byte character counts 2.
  EXPECT_EQ(TakeText(Invoke(LeftOfText, {LendText("图片a"), MakeInteger(2)})), "图");
  EXPECT_EQ(TakeText(Invoke(RightOfText, {LendText("a图片"), MakeInteger(4)})), "图片");
}

TEST(TextCommands, FindEmptyAndStartPositions) {
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("abc"), LendText(""), kOmitted, kCase})), 1);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText(""), LendText(""), kOmitted, kCase})), -1);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("abcabc"), LendText("bc"), kOmitted, kCase})), 2);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("abcabc"), LendText("bc"), MakeInteger(3), kCase})), 5);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("abcabc"), LendText("bc"), MakeInteger(-4), kCase})), 2);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("abc"), LendText("c"), MakeInteger(4), kCase})), -1);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("abc"), LendText("abcd"), kOmitted, kCase})), -1);
}

TEST(TextCommands, FindStepsOverDoubleByteCharactersAndFoldsOnlyAscii) {
  // "啊" followed by 0xA1 0xB0: the pair "\xA1\xB0" occurs at byte 2 but
  // only as the trail of one character and the lead of the next.
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("\xB0\xA1\xB0\xA1"), LendText("\xA1\xB0"), kOmitted, kCase})), -1);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("\xB0\xA1\xB0\xA1"), LendText("\xB0\xA1"), MakeInteger(2), kCase})), 3);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText(kTrailA), LendText("A"), kOmitted, kCase})), -1);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText(kTrailA), LendText("a"), kOmitted, kNoCase})), -1);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("x\x81\x61"), LendText(kTrailA), kOmitted, kNoCase})), -1)
      << "the trail byte of a double-byte character is not a letter";
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("图片ABC.Jpg"), LendText(".JPG"), kOmitted, kNoCase})), 8);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("图片ABC.Jpg"), LendText(".JPG"), kOmitted, kCase})), -1);
  EXPECT_EQ(Integer(Invoke(FindInText, {LendText("ab"), LendText("B"), kOmitted, kOmitted})), -1)
      << "an omitted flag is case-sensitive";
}

TEST(TextCommands, TrimRemovesAsciiAndFullWidthSpaces) {
  EXPECT_EQ(TakeText(Invoke(TrimBothEnds, {LendText("  \xA1\xA1 a b\xA1\xA1  ")})), "a b");
  EXPECT_EQ(TakeText(Invoke(TrimBothEnds, {LendText(" \xA1\xA1 ")})), "");
  EXPECT_EQ(TakeText(Invoke(TrimBothEnds, {LendText(nullptr)})), "");
  EXPECT_EQ(TakeText(Invoke(TrimBothEnds, {LendText("\tx\t")})), "\tx\t") << "only spaces are blanks";
  // 0xB0 0xA1 is "啊"; the 0xA1 after it is a lone byte, so the end holds no
  // full-width space although the last two bytes are 0xA1 0xA1.
  EXPECT_EQ(TakeText(Invoke(TrimBothEnds, {LendText("\xB0\xA1\xA1")})), "\xB0\xA1\xA1");
  EXPECT_EQ(TakeText(Invoke(TrimBothEnds, {LendText("\xB0\xA1\xA1\xA1 ")})), "\xB0\xA1");
}

TEST(TextCommands, TextOfSpaces) {
  EXPECT_EQ(TakeText(Invoke(TextOfSpaces, {MakeInteger(3)})), "   ");
  EXPECT_EQ(TakeText(Invoke(TextOfSpaces, {MakeInteger(0)})), "");
  EXPECT_EQ(TakeText(Invoke(TextOfSpaces, {MakeInteger(-1)})), "");
}

TEST(SplitTextCommand, PartsLimitsAndSeparators) {
  using Parts = std::vector<std::string>;
  EXPECT_EQ(TakeTexts(Invoke(SplitText, {LendText("a,,b,"), kOmitted, kOmitted})), (Parts{"a", "", "b"}));
  EXPECT_EQ(TakeTexts(Invoke(SplitText, {LendText("a,b,c"), LendText(","), MakeInteger(1)})), (Parts{"a"}));
  EXPECT_EQ(TakeTexts(Invoke(SplitText, {LendText("a,b,c"), LendText(","), MakeInteger(-2)})), (Parts{}));
  EXPECT_EQ(TakeTexts(Invoke(SplitText, {LendText("a,b"), LendText(""), kOmitted})), (Parts{"a,b"}));
  EXPECT_EQ(TakeTexts(Invoke(SplitText, {LendText(""), LendText(","), kOmitted})), (Parts{}));
  EXPECT_EQ(TakeTexts(Invoke(SplitText, {LendText("1.23.jpg"), LendText("."), kOmitted})), (Parts{"1", "23", "jpg"}));
  // A separator byte that is the trail of a double-byte character does not
  // split it: 0x81 0x41 holds 'A'.
  EXPECT_EQ(TakeTexts(Invoke(SplitText, {LendText("x\x81\x41yAz"), LendText("A"), kOmitted})),
            (Parts{"x\x81\x41y", "z"}));
}

TEST(ConversionCommands, ToText) {
  EXPECT_EQ(TakeText(Invoke(ToText, {Value{0x1FF, 0, kTagByte}})), "255");
  EXPECT_EQ(TakeText(Invoke(ToText, {Value{0xFFFE, 0, kTagShort}})), "-2");
  EXPECT_EQ(TakeText(Invoke(ToText, {MakeInteger(-2147483647 - 1)})), "-2147483648");
  EXPECT_EQ(TakeText(Invoke(ToText, {MakeLong(-9223372036854775807LL - 1)})), "-9223372036854775808");
  EXPECT_EQ(TakeText(Invoke(ToText, {MakeLong(12345678901LL)})), "12345678901");
  EXPECT_EQ(TakeText(Invoke(ToText, {MakeFloat(85.5)})), "85.5");
  EXPECT_EQ(TakeText(Invoke(ToText, {MakeLogical(true)})), "真");
  EXPECT_EQ(TakeText(Invoke(ToText, {MakeLogical(false)})), "假");
  EXPECT_EQ(TakeText(Invoke(ToText, {LendText("文本")})), "文本");
  EXPECT_EQ(TakeText(Invoke(ToText, {Bytes(std::string("ab\0cd", 5)).value()})), "ab");
  EXPECT_EQ(TakeText(Invoke(ToText, {kOmitted})), "");
  Value date = MakeFloat(38053.5 + 1.0 / 86400);  // 2004-03-07 12:00:01
  date.tag = kTagDateTime;
  EXPECT_EQ(TakeText(Invoke(ToText, {date})), "2004年3月7日12时0分1秒");
  date = MakeFloat(2.0);
  date.tag = kTagDateTime;
  EXPECT_EQ(TakeText(Invoke(ToText, {date})), "1900年1月1日");
}

TEST(ConversionCommands, ToNumber) {
  EXPECT_EQ(Float(Invoke(ToNumber, {LendText("85")})), 85.0);
  EXPECT_EQ(Float(Invoke(ToNumber, {LendText(" 7.25x")})), 7.25);
  EXPECT_EQ(Float(Invoke(ToNumber, {LendText("质量")})), 0.0) << "text that is no number gives 0";
  EXPECT_EQ(Float(Invoke(ToNumber, {LendText(nullptr)})), 0.0);
  EXPECT_EQ(Float(Invoke(ToNumber, {MakeLogical(true)})), 1.0);
  EXPECT_EQ(Float(Invoke(ToNumber, {Value{0xFFFF, 0, kTagShort}})), -1.0);
  EXPECT_EQ(Float(Invoke(ToNumber, {MakeLong(1LL << 40)})), 1099511627776.0);
  EXPECT_EQ(Float(Invoke(ToNumber, {Value{0x401000, 0, kTagSubProgram}})), 4198400.0);
  EXPECT_EQ(Float(Invoke(ToNumber, {Bytes("12").value()})), 0.0);
}

TEST(ConversionCommands, ToByteSet) {
  // A sub-program's code address is kept whole, on 64-bit builds too.
  Value routine{0, 0, kTagSubProgram};
  StorePointer(routine, reinterpret_cast<const void*>(&TakeBytes));
  const std::string address = TakeBytes(Invoke(ToByteSet, {routine}));
  const auto expected = reinterpret_cast<uintptr_t>(&TakeBytes);
  EXPECT_EQ(address, std::string(reinterpret_cast<const char*>(&expected), sizeof expected));
  EXPECT_EQ(TakeBytes(Invoke(ToByteSet, {LendText("ab")})), "ab");
  EXPECT_EQ(TakeBytes(Invoke(ToByteSet, {LendText("")})), "");
  EXPECT_EQ(TakeBytes(Invoke(ToByteSet, {Value{0x141, 0, kTagByte}})), "A");
  EXPECT_EQ(TakeBytes(Invoke(ToByteSet, {Value{0x4241, 0, kTagShort}})), "AB");
  EXPECT_EQ(TakeBytes(Invoke(ToByteSet, {MakeInteger(0x44434241)})), "ABCD");
  EXPECT_EQ(TakeBytes(Invoke(ToByteSet, {MakeLogical(true)})), std::string("\1\0\0\0", 4));
  EXPECT_EQ(TakeBytes(Invoke(ToByteSet, {MakeLong(0x4847464544434241LL)})), "ABCDEFGH");
  const uint32_t size = 3;
  void* shorts = AllocateArray(&size, 1, 2);
  std::memcpy(ArrayElements(shorts), "\x01\x00\x02\x00\x03\x00", 6);
  EXPECT_EQ(TakeBytes(Invoke(ToByteSet, {OwnArrayValue(shorts, kTagShort)})), std::string("\1\0\2\0\3\0", 6));
  EXPECT_EQ(TakeText(Invoke(ToText, {OwnArrayValue(shorts, kTagShort)})), "\1");
  FreeMemory(shorts);
}

TEST(NumberCommands, BitwiseOr) {
  EXPECT_EQ(Integer(Invoke(BitwiseOr, {MakeInteger(0x10), MakeInteger(0x01), Value{0x80, 0, kTagByte}})), 0x91);
  EXPECT_EQ(Integer(Invoke(BitwiseOr, {MakeInteger(-8)})), -8);
}

TEST(ByteSetCommands, ZeroLeftFind) {
  EXPECT_EQ(TakeBytes(Invoke(ZeroBytes, {MakeInteger(3)})), std::string(3, '\0'));
  EXPECT_EQ(TakeBytes(Invoke(ZeroBytes, {MakeInteger(-1)})), "");
  const Bytes data(std::string("ab\0ab\0", 6));
  EXPECT_EQ(TakeBytes(Invoke(LeftOfBytes, {data.value(), MakeInteger(3)})), std::string("ab\0", 3));
  EXPECT_EQ(TakeBytes(Invoke(LeftOfBytes, {data.value(), MakeInteger(60)})), std::string("ab\0ab\0", 6));
  EXPECT_EQ(TakeBytes(Invoke(LeftOfBytes, {data.value(), MakeInteger(-1)})), "");
  EXPECT_EQ(Integer(Invoke(FindInBytes, {data.value(), Bytes(std::string("b\0", 2)).value(), kOmitted})), 2);
  EXPECT_EQ(Integer(Invoke(FindInBytes, {data.value(), Bytes(std::string("b\0", 2)).value(), MakeInteger(3)})), 5);
  EXPECT_EQ(Integer(Invoke(FindInBytes, {data.value(), Bytes("x").value(), kOmitted})), -1);
  // Bytes match exactly, with no double-byte stepping.
  EXPECT_EQ(Integer(Invoke(FindInBytes, {Bytes("\xB0\xA1\xB0").value(), Bytes("\xA1\xB0").value(), kOmitted})), 2);
}

TEST(ByteSetCommands, Replace) {
  const Bytes data("a-b-c-d");
  const Bytes dash("-");
  const Bytes plus("+=");
  EXPECT_EQ(TakeBytes(Invoke(ReplaceInBytes, {data.value(), dash.value(), plus.value(), kOmitted, kOmitted})),
            "a+=b+=c+=d");
  EXPECT_EQ(TakeBytes(Invoke(ReplaceInBytes, {data.value(), dash.value(), kOmitted, kOmitted, kOmitted})), "abcd");
  EXPECT_EQ(TakeBytes(Invoke(ReplaceInBytes, {data.value(), dash.value(), plus.value(), MakeInteger(3), MakeInteger(1)})),
            "a-b+=c-d");
  EXPECT_EQ(TakeBytes(Invoke(ReplaceInBytes, {data.value(), dash.value(), plus.value(), kOmitted, MakeInteger(0)})),
            "a-b-c-d");
  EXPECT_EQ(TakeBytes(Invoke(ReplaceInBytes, {Bytes("---").value(), dash.value(), kOmitted, kOmitted, kOmitted})), "");
  EXPECT_EQ(TakeBytes(Invoke(ReplaceInBytes, {data.value(), Bytes("").value(), plus.value(), kOmitted, kOmitted})),
            "a-b-c-d");
}

class SettingsItemTest : public testing::Test {
 protected:
  SettingsItemTest() : folder_("settings_item"), file_(Absolute(folder_.File("test.ini"))) {}
  static std::string Absolute(const std::string& path) {
    char full[MAX_PATH];
    GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return full;
  }
  std::string Read(const char* section, const char* key, const Value& fallback) {
    return TakeText(Invoke(ReadSettingsItem, {LendText(file_.c_str()), LendText(section), LendText(key), fallback}));
  }
  bool Write(const Value& section, const Value& key, const Value& value) {
    const Value result = Invoke(WriteSettingsItem, {LendText(file_.c_str()), section, key, value});
    EXPECT_EQ(result.tag, kTagLogical);
    return result.word0 != 0;
  }
  ScratchFolder folder_;
  std::string file_;
};

TEST_F(SettingsItemTest, WriteThenReadAndRemove) {
  EXPECT_TRUE(Write(LendText("Tulvex"), LendText("保存方式"), LendText("a")));
  EXPECT_TRUE(Write(LendText("Tulvex"), LendText("保存位置"), LendText("C:\\图片")));
  EXPECT_EQ(Read("Tulvex", "保存方式", kOmitted), "a");
  EXPECT_EQ(Read("Tulvex", "保存位置", kOmitted), "C:\\图片");
  EXPECT_EQ(Read("Tulvex", "missing", LendText("默认")), "默认");
  // Leading blanks of file, section and key are not part of the names.
  const std::string padded_file = " \t" + file_;
  EXPECT_EQ(TakeText(Invoke(ReadSettingsItem, {LendText(padded_file.c_str()), LendText("  Tulvex"),
                                             LendText("\t保存方式"), kOmitted})),
            "a");

  EXPECT_TRUE(Write(LendText("Tulvex"), LendText("保存方式"), kOmitted));  // removes the key
  EXPECT_EQ(Read("Tulvex", "保存方式", LendText("gone")), "gone");
  EXPECT_EQ(Read("Tulvex", "保存位置", kOmitted), "C:\\图片");
  EXPECT_TRUE(Write(LendText("Tulvex"), kOmitted, kOmitted));  // removes the section
  EXPECT_EQ(Read("Tulvex", "保存位置", LendText("gone")), "gone");
}

TEST_F(SettingsItemTest, EmptyNamesGiveEmptyTextWithoutReadingTheFile) {
  EXPECT_TRUE(Write(LendText("Tulvex"), LendText("k"), LendText("v")));
  // A real read would hand back the default text; these must not read.
  EXPECT_EQ(Read("Tulvex", "", LendText("默认")), "");
  EXPECT_EQ(Read("Tulvex", "  ", LendText("默认")), "");
  EXPECT_EQ(Read("", "k", LendText("默认")), "");
  EXPECT_EQ(TakeText(Invoke(ReadSettingsItem, {LendText(" "), LendText("Tulvex"), LendText("k"), LendText("默认")})), "");
}

TEST_F(SettingsItemTest, EmptyFileNameWritesNothing) {
  const Value result = Invoke(WriteSettingsItem, {LendText(""), LendText("Tulvex"), LendText("k"), LendText("v")});
  EXPECT_EQ(result.word0, 0u) << "an empty file name would write to the system's own settings file";
}

}  // namespace
