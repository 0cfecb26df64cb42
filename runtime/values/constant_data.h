// The application's constant data block: its constant texts, byte sets and
// arrays, gathered by the linker into one read-only stretch so that the
// memory services can tell a constant pointer from a heap block.
//
//   TULVEX_CONSTANT static const char kTitle[] = "...";
//
// Objects marked TULVEX_CONSTANT land between two markers in the program's
// read-only data (grouped sections sort by name); the application header
// gives ConstantDataStart() and ConstantDataSize().
#pragma once

#include <cstdint>

#define TULVEX_CONSTANT __attribute__((section(".rdata$tulvex_constants_m"), used))

const void* ConstantDataStart();
uint32_t ConstantDataSize();
