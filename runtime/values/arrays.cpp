// Array blocks: their header, element widths and the copy out of the
// constant data block.
#include "runtime/values/arrays.h"

#include <cstring>

#include "runtime/values/memory.h"

namespace {

uint32_t ReadWord(const void* array, uint32_t index) {
  uint32_t word;
  std::memcpy(&word, static_cast<const uint8_t*>(array) + 4 * index, sizeof word);
  return word;
}

// Header plus elements; sizes that overflow 64 bits count as impossible so
// that the allocation reports them.
uint64_t ArrayBlockBytes(uint32_t dimensions, uint64_t elements, uint32_t element_width) {
  const uint64_t header = 4 + 4 * uint64_t{dimensions};
  if (element_width && elements > (UINT64_MAX - header) / element_width) return UINT64_MAX;
  return header + elements * element_width;
}

}  // namespace

uint32_t ElementWidth(uint32_t element_tag) {
  switch (element_tag) {
    case kTagByte: return 1;
    case kTagShort: return 2;
    case kTagInteger:
    case kTagSmallFloat:
    case kTagLogical: return 4;
    case kTagLong:
    case kTagFloat:
    case kTagDateTime:
    case kTagEightBytes: return 8;
    case kTagText:
    case kTagByteSet:
    case kTagSubProgram: return sizeof(void*);
    default: return 0;
  }
}

uint32_t ArrayDimensionCount(const void* array) { return array ? ReadWord(array, 0) : 0; }

uint32_t ArrayDimensionSize(const void* array, uint32_t dimension) {
  return ReadWord(array, 1 + dimension);
}

uint64_t ArrayElementCount(const void* array) {
  const uint32_t dimensions = ArrayDimensionCount(array);
  if (dimensions == 0) return 0;
  uint64_t count = 1;
  for (uint32_t i = 0; i < dimensions; ++i) {
    const uint32_t size = ArrayDimensionSize(array, i);
    // Saturate instead of wrapping; such an array cannot exist anyway.
    count = (size && count > UINT64_MAX / size) ? UINT64_MAX : count * size;
  }
  return count;
}

uint32_t ArrayHeaderBytes(const void* array) { return 4 + 4 * ArrayDimensionCount(array); }

uint8_t* ArrayElements(void* array) { return static_cast<uint8_t*>(array) + ArrayHeaderBytes(array); }

const uint8_t* ArrayElements(const void* array) {
  return static_cast<const uint8_t*>(array) + ArrayHeaderBytes(array);
}

void* AllocateArray(const uint32_t* sizes, uint32_t dimensions, uint32_t element_width) {
  uint64_t elements = dimensions ? 1 : 0;
  for (uint32_t i = 0; i < dimensions; ++i) {
    elements = (sizes[i] && elements > UINT64_MAX / sizes[i]) ? UINT64_MAX : elements * sizes[i];
  }
  const uint64_t bytes = ArrayBlockBytes(dimensions, elements, element_width);
  auto* array = static_cast<uint8_t*>(AllocateComputedSize(bytes));
  std::memcpy(array, &dimensions, 4);
  if (dimensions) std::memcpy(array + 4, sizes, 4 * size_t{dimensions});
  std::memset(array + 4 + 4 * size_t{dimensions}, 0, static_cast<size_t>(bytes) - 4 - 4 * size_t{dimensions});
  return array;
}

void MakeArrayWritable(void** array, uint32_t element_width) {
  if (!*array || !IsConstantData(*array)) return;
  const uint32_t dimensions = ArrayDimensionCount(*array);
  const uint64_t bytes = ArrayBlockBytes(dimensions, ArrayElementCount(*array), element_width);
  void* copy = AllocateComputedSize(bytes);
  std::memcpy(copy, *array, static_cast<size_t>(bytes));
  *array = copy;  // the constant block itself is never freed
}

Value OwnArrayValue(void* array, uint32_t element_tag) {
  Value value{0, 0, element_tag | kArrayTagFlag};
  StorePointer(value, array);
  return value;
}
