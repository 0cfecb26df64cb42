// Array values: a block holding the dimension count d, d dimension sizes,
// then the elements packed in order. A record holding an array carries the
// element type's tag with kArrayTagFlag added; d = 0 means no elements.
#pragma once

#include <cstdint>

#include "runtime/value.h"

constexpr uint32_t kArrayTagFlag = 0x20000000;

inline bool IsArrayTag(uint32_t tag) { return (tag & kArrayTagFlag) != 0; }
inline uint32_t ElementTagOf(uint32_t array_tag) { return array_tag & ~kArrayTagFlag; }

// Bytes one element of type `element_tag` takes: 1, 2, 4 or 8; pointers
// (texts, byte sets) and sub-programs take a pointer word. 0 for a tag that
// has no elements (omitted, unknown).
uint32_t ElementWidth(uint32_t element_tag);

uint32_t ArrayDimensionCount(const void* array);  // 0 for null
uint32_t ArrayDimensionSize(const void* array, uint32_t dimension);
uint64_t ArrayElementCount(const void* array);    // product of the sizes
// Bytes in front of the elements: 4 + 4 * d.
uint32_t ArrayHeaderBytes(const void* array);
uint8_t* ArrayElements(void* array);
const uint8_t* ArrayElements(const void* array);

// A new heap array with the given sizes and zeroed elements.
void* AllocateArray(const uint32_t* sizes, uint32_t dimensions, uint32_t element_width);

// Routine 2 of slot 12: before a write to an array that lies in the constant
// data block, replaces `*array` by a heap copy of its header and elements.
// Heap arrays are left as they are.
void MakeArrayWritable(void** array, uint32_t element_width);

// An array record of element type `element_tag` that owns `array`.
Value OwnArrayValue(void* array, uint32_t element_tag);
