// Value memory on the process's default heap. Pointers into the constant data
// block are valid values that are never freed or resized in place: a resize
// copies them out, a free ignores them.
#include "runtime/values/memory.h"

#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "runtime/process/runtime_error.h"

namespace {

HANDLE g_heap = nullptr;
uintptr_t g_constants_start = 0;
uintptr_t g_constants_end = 0;

// The heap is taken once at start-up; a service used before that (a test,
// a library initialiser) takes it on first use instead of crashing.
HANDLE Heap() {
  if (!g_heap) g_heap = GetProcessHeap();
  return g_heap;
}

}  // namespace

void InitialiseMemory(const void* constants_start, uint32_t constants_size, HANDLE heap) {
  g_heap = heap ? heap : GetProcessHeap();
  g_constants_start = reinterpret_cast<uintptr_t>(constants_start);
  g_constants_end = constants_start ? g_constants_start + constants_size : 0;
}

bool IsConstantData(const void* pointer) {
  const auto address = reinterpret_cast<uintptr_t>(pointer);
  return address >= g_constants_start && address < g_constants_end;
}

void ReportAllocationFailure(uint64_t bytes) {
  char message[64];
  std::snprintf(message, sizeof message, "分配 %" PRIu64 " 字节内存失败!", bytes);
  ReportRuntimeError(message, 0);
}

void* AllocateMemory(uint32_t bytes) {
  void* block = HeapAlloc(Heap(), 0, bytes);
  if (!block) ReportAllocationFailure(bytes);
  return block;
}

void* AllocateComputedSize(uint64_t bytes) {
  // Value blocks are addressed with signed 32-bit sizes by the compiled code.
  if (bytes > 0x7FFFFFFF) ReportAllocationFailure(bytes);
  return AllocateMemory(static_cast<uint32_t>(bytes));
}

void* ReallocateMemory(void* pointer, uint32_t bytes) {
  if (!pointer) return AllocateMemory(bytes);
  if (IsConstantData(pointer)) {
    // Copy what the constant block holds from here on, at most `bytes`.
    const uintptr_t available = g_constants_end - reinterpret_cast<uintptr_t>(pointer);
    void* block = AllocateMemory(bytes);
    std::memcpy(block, pointer, available < bytes ? available : bytes);
    return block;
  }
  void* block = HeapReAlloc(Heap(), 0, pointer, bytes);
  if (!block) ReportAllocationFailure(bytes);
  return block;
}

void FreeMemory(void* pointer) {
  if (!pointer || IsConstantData(pointer)) return;
  HeapFree(Heap(), 0, pointer);
}
