// The runtime's memory services (service slots 6, 7, 8): value memory on the
// process's default heap, with the rules for pointers into the application's
// read-only constant data block. Allocation failure is a fatal runtime error.
#pragma once

#include <windows.h>

#include <cstdint>

// Takes the process heap (GetProcessHeap) and records the constant data
// block. Called once by Initialise before any other memory service. A test
// that must see the heap run out hands in a heap of fixed size instead.
void InitialiseMemory(const void* constants_start, uint32_t constants_size, HANDLE heap = nullptr);

bool IsConstantData(const void* pointer);

void* AllocateMemory(uint32_t bytes);
void* ReallocateMemory(void* pointer, uint32_t bytes);
void FreeMemory(void* pointer);

// For sizes computed from lengths and counts: anything past 2 GB is the same
// fatal error as a heap that cannot supply the block.
void* AllocateComputedSize(uint64_t bytes);
[[noreturn]] void ReportAllocationFailure(uint64_t bytes);
