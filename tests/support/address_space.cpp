#include "tests/support/address_space.h"

#ifdef _WIN64
#include <windows.h>

#include <cstdint>

size_t ReserveLowAddressSpace() {
  constexpr uintptr_t kFourGiB = uintptr_t{1} << 32;
  constexpr uintptr_t kGranularity = 0x10000;
  size_t reserved = 0;
  uintptr_t address = kGranularity;
  MEMORY_BASIC_INFORMATION info;
  while (address < kFourGiB && VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info)) {
    const auto base = reinterpret_cast<uintptr_t>(info.BaseAddress);
    uintptr_t end = base + info.RegionSize;
    if (end > kFourGiB) end = kFourGiB;
    if (info.State == MEM_FREE) {
      // Reservations start on the allocation granularity.
      const uintptr_t start = (base + kGranularity - 1) & ~(kGranularity - 1);
      if (start < end && VirtualAlloc(reinterpret_cast<void*>(start), end - start, MEM_RESERVE, PAGE_NOACCESS)) {
        reserved += end - start;
      }
    }
    address = end;
  }
  return reserved;
}

#else

size_t ReserveLowAddressSpace() { return 0; }

#endif
