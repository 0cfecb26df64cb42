// The two markers that bracket the constant data block.
#include "runtime/values/constant_data.h"

namespace {

// The linker orders grouped ".rdata$" sections by their suffix: _a, then
// every _m object of the program, then _z.
__attribute__((section(".rdata$tulvex_constants_a"), used)) const char kBlockStart[1] = {0};
__attribute__((section(".rdata$tulvex_constants_z"), used)) const char kBlockEnd[1] = {0};

}  // namespace

const void* ConstantDataStart() { return kBlockStart; }

uint32_t ConstantDataSize() { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(kBlockEnd) - reinterpret_cast<uintptr_t>(kBlockStart)); }
