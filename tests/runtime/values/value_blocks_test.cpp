// Texts, byte sets and arrays: assignment, comparison, joining, array
// layout and the copy of constant arrays to the heap.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/values/arrays.h"
#include "runtime/values/byte_sets.h"
#include "runtime/values/memory.h"
#include "runtime/values/texts.h"

namespace {

TEST(Texts, AssignCopiesAndTheEmptyTextIsNull) {
  char* variable = nullptr;
  const char source[] = "转换";
  AssignText(&variable, source);
  ASSERT_NE(variable, nullptr);
  EXPECT_NE(variable, source) << "assignment must copy";
  EXPECT_STREQ(variable, "转换");

  AssignText(&variable, "");
  EXPECT_EQ(variable, nullptr) << "an empty text leaves the variable null";
  AssignText(&variable, "x");
  AssignText(&variable, nullptr);
  EXPECT_EQ(variable, nullptr);
}

TEST(Texts, AssignToItselfAndFromInsideItself) {
  char* variable = CopyText("abcdef");
  char* before = variable;
  AssignText(&variable, variable);
  EXPECT_EQ(variable, before);
  EXPECT_STREQ(variable, "abcdef");
  // The source lies inside the block that the assignment frees.
  AssignText(&variable, variable + 3);
  EXPECT_STREQ(variable, "def");
  FreeMemory(variable);
}

TEST(Texts, CompareIsUnsignedAndNullEqualsEmpty) {
  EXPECT_EQ(CompareTexts(nullptr, ""), 0);
  EXPECT_EQ(CompareTexts("", nullptr), 0);
  EXPECT_LT(CompareTexts(nullptr, "a"), 0);
  EXPECT_GT(CompareTexts("a", nullptr), 0);
  EXPECT_GT(CompareTexts("\xB0\xA1", "z"), 0) << "GBK bytes sort above ASCII";
  EXPECT_LT(CompareTexts("ab", "abc"), 0);
}

TEST(ByteSets, JoinSumsLengthsAndEmptyGivesNull) {
  const void* empties[] = {nullptr, nullptr};
  EXPECT_EQ(JoinByteSets(empties, 2), nullptr);
  // A constant-style block of length 0 counts as empty too.
  const uint32_t zero_block[2] = {1, 0};
  const void* still_empty[] = {zero_block, nullptr};
  EXPECT_EQ(JoinByteSets(still_empty, 2), nullptr);

  void* left = MakeByteSet("ab", 2);
  void* right = MakeByteSet("\0c", 2);
  const void* parts[] = {left, nullptr, right};
  void* joined = JoinByteSets(parts, 3);
  ASSERT_NE(joined, nullptr);
  uint32_t header[2];
  std::memcpy(header, joined, sizeof header);
  EXPECT_EQ(header[0], 1u);
  EXPECT_EQ(header[1], 4u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ByteSetBytes(joined)), 4), std::string("ab\0c", 4));
  FreeMemory(left);
  FreeMemory(right);
  FreeMemory(joined);
}

TEST(ByteSets, MakeWithoutBytesZeroes) {
  EXPECT_EQ(MakeByteSet(nullptr, 0), nullptr);
  void* block = MakeByteSet(nullptr, 3);
  EXPECT_EQ(ByteSetLength(block), 3u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ByteSetBytes(block)), 3), std::string(3, '\0'));
  FreeMemory(block);
}

TEST(Arrays, DimensionsAndElementCounts) {
  const uint32_t no_dimensions = 0;
  void* empty = AllocateArray(&no_dimensions, 0, 4);
  EXPECT_EQ(ArrayDimensionCount(empty), 0u);
  EXPECT_EQ(ArrayElementCount(empty), 0u);
  EXPECT_EQ(ArrayElementCount(nullptr), 0u);

  const uint32_t sizes[] = {2, 3};
  void* grid = AllocateArray(sizes, 2, ElementWidth(kTagShort));
  EXPECT_EQ(ArrayDimensionCount(grid), 2u);
  EXPECT_EQ(ArrayDimensionSize(grid, 1), 3u);
  EXPECT_EQ(ArrayElementCount(grid), 6u);
  EXPECT_EQ(ArrayElements(grid) - static_cast<uint8_t*>(grid), 12) << "d, then d sizes, then elements";
  for (int i = 0; i < 12; ++i) EXPECT_EQ(ArrayElements(grid)[i], 0) << "element byte " << i;
  FreeMemory(empty);
  FreeMemory(grid);
}

TEST(Arrays, ElementWidthsFollowTheType) {
  EXPECT_EQ(ElementWidth(kTagByte), 1u);
  EXPECT_EQ(ElementWidth(kTagShort), 2u);
  EXPECT_EQ(ElementWidth(kTagInteger), 4u);
  EXPECT_EQ(ElementWidth(kTagLogical), 4u);
  EXPECT_EQ(ElementWidth(kTagLong), 8u);
  EXPECT_EQ(ElementWidth(kTagDateTime), 8u);
  EXPECT_EQ(ElementWidth(kTagEightBytes), 8u);
  EXPECT_EQ(ElementWidth(kTagText), sizeof(void*));
  EXPECT_EQ(ElementWidth(kTagOmitted), 0u);
}

TEST(Arrays, MakeWritableCopiesOnlyConstantArrays) {
  // A constant 1-dimensional array of three integers, with a guard word after
  // it that the copy must not take.
  static const uint32_t constants[] = {1, 3, 10, 20, 30, 0xDEADBEEF};
  InitialiseMemory(constants, sizeof constants);
  void* array = const_cast<uint32_t*>(constants);
  MakeArrayWritable(&array, 4);
  EXPECT_NE(array, static_cast<const void*>(constants));
  EXPECT_FALSE(IsConstantData(array));
  EXPECT_EQ(std::memcmp(array, constants, 20), 0);
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, array), 20u) << "header and three elements";

  void* heap_array = array;
  MakeArrayWritable(&heap_array, 4);
  EXPECT_EQ(heap_array, array) << "a heap array is already writable";
  FreeMemory(array);
  InitialiseMemory(nullptr, 0);
}

}  // namespace
