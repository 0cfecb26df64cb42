// Value memory: heap blocks, and pointers into the constant data block that
// are never freed or resized in place.
#include "runtime/values/memory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/values/constant_data.h"

namespace {

// A stand-in constant data block: 16 bytes, the last 6 of which ("KLMNOP")
// follow the pointer the resize tests use.
const char kFakeConstants[16] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'};

class MemoryTest : public testing::Test {
 protected:
  void SetUp() override { InitialiseMemory(kFakeConstants, sizeof kFakeConstants); }
  void TearDown() override { InitialiseMemory(ConstantDataStart(), ConstantDataSize()); }
  void* Constant(size_t offset) { return const_cast<char*>(kFakeConstants + offset); }
};

TEST_F(MemoryTest, ConstantBlockBoundsAreHalfOpen) {
  EXPECT_TRUE(IsConstantData(kFakeConstants));
  EXPECT_TRUE(IsConstantData(kFakeConstants + 15));
  EXPECT_FALSE(IsConstantData(kFakeConstants + 16));
  EXPECT_FALSE(IsConstantData(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(kFakeConstants) - 1)));
  EXPECT_FALSE(IsConstantData(nullptr));
}

TEST_F(MemoryTest, FreeIgnoresNullAndConstants) {
  FreeMemory(nullptr);
  FreeMemory(Constant(0));
  FreeMemory(Constant(7));
  EXPECT_EQ(std::memcmp(kFakeConstants, "ABCDEFGHIJKLMNOP", 16), 0) << "constant block changed";
}

TEST_F(MemoryTest, ReallocateNullAllocates) {
  auto* block = static_cast<char*>(ReallocateMemory(nullptr, 5));
  ASSERT_NE(block, nullptr);
  EXPECT_FALSE(IsConstantData(block));
  std::memcpy(block, "1234", 5);
  FreeMemory(block);
}

TEST_F(MemoryTest, ReallocatingAConstantToLargerCopiesOnlyToTheEndOfTheBlock) {
  auto* block = static_cast<char*>(ReallocateMemory(Constant(10), 100));
  ASSERT_NE(block, nullptr);
  EXPECT_NE(block, kFakeConstants + 10);
  EXPECT_FALSE(IsConstantData(block));
  EXPECT_EQ(std::string(block, 6), "KLMNOP");
  block[99] = 'z';  // the whole requested size is usable
  FreeMemory(block);
}

TEST_F(MemoryTest, ReallocatingAConstantToSmallerCopiesTheRequestedBytes) {
  auto* block = static_cast<char*>(ReallocateMemory(Constant(2), 3));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::string(block, 3), "CDE");
  FreeMemory(block);
}

TEST_F(MemoryTest, ReallocatingAHeapBlockKeepsItsBytes) {
  auto* block = static_cast<char*>(AllocateMemory(4));
  std::memcpy(block, "wxyz", 4);
  block = static_cast<char*>(ReallocateMemory(block, 4096));
  EXPECT_EQ(std::string(block, 4), "wxyz");
  block = static_cast<char*>(ReallocateMemory(block, 2));
  EXPECT_EQ(std::string(block, 2), "wx");
  FreeMemory(block);
}

// Objects marked as constants land between the linker's markers; ordinary
// read-only data and the stack do not.
TULVEX_CONSTANT const char kMarkedText[] = "常量文本";
TULVEX_CONSTANT const unsigned char kMarkedBytes[] = {1, 0, 0, 0, 3, 0, 0, 0, 7, 8, 9};
const char kUnmarkedText[] = "普通文本";

TEST(ConstantData, MarkedObjectsLieInsideTheBlock) {
  InitialiseMemory(ConstantDataStart(), ConstantDataSize());
  EXPECT_GE(ConstantDataSize(), sizeof kMarkedText + sizeof kMarkedBytes);
  EXPECT_TRUE(IsConstantData(kMarkedText));
  EXPECT_TRUE(IsConstantData(kMarkedText + sizeof kMarkedText - 1));
  EXPECT_TRUE(IsConstantData(kMarkedBytes + sizeof kMarkedBytes - 1));
  EXPECT_FALSE(IsConstantData(kUnmarkedText));
  const char on_stack[4] = "abc";
  EXPECT_FALSE(IsConstantData(on_stack));

  FreeMemory(const_cast<char*>(kMarkedText));  // ignored, not a heap block
  EXPECT_STREQ(kMarkedText, "常量文本");
  auto* copy = static_cast<char*>(ReallocateMemory(const_cast<char*>(kMarkedText), sizeof kMarkedText));
  EXPECT_FALSE(IsConstantData(copy));
  EXPECT_STREQ(copy, "常量文本");
  FreeMemory(copy);
}

}  // namespace

#ifdef _WIN64
// The test programs reserve the free space below 4 GiB at start, so that a
// pointer cut to 32 bits faults. Small heap blocks may still come from the
// heap's first segment; new regions must not.
TEST(AddressSpace, NewRegionsLieAbove4GiB) {
  constexpr uintptr_t kFourGiB = uintptr_t{1} << 32;
  void* region = VirtualAlloc(nullptr, 1 << 20, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(region, nullptr);
  EXPECT_GE(reinterpret_cast<uintptr_t>(region), kFourGiB) << "have " << region;
  VirtualFree(region, 0, MEM_RELEASE);
  void* large = AllocateMemory(64u << 20);  // past the heap's segment: a region of its own
  EXPECT_GE(reinterpret_cast<uintptr_t>(large), kFourGiB) << "have " << large;
  FreeMemory(large);
}
#endif
