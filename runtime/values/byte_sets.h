// Byte-set values: a block holding the word 1, the length n and n bytes.
// The null pointer is the empty byte set; a constant block of length 0 is
// also empty.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/value.h"

constexpr uint32_t kByteSetHeaderBytes = 8;

// Length of a byte-set block; 0 for null.
uint32_t ByteSetLength(const void* block);
// Its bytes (ByteSetLength of them); null for null.
const uint8_t* ByteSetBytes(const void* block);

// A new block holding `length` bytes (copied from `bytes` when it is not
// null, else zeroed); null when `length` is 0.
void* MakeByteSet(const void* bytes, uint32_t length);

// One new block holding the parts in order; null when their total is 0.
void* JoinByteSets(const void* const* blocks, size_t count);

// A byte-set record that owns `block` (a heap block or null).
Value OwnByteSetValue(void* block);
