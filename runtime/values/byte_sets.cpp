// Making, reading and joining byte-set blocks.
#include "runtime/values/byte_sets.h"

#include <cstring>

#include "runtime/values/memory.h"

namespace {

void WriteHeader(uint8_t* block, uint32_t length) {
  const uint32_t header[2] = {1, length};
  std::memcpy(block, header, sizeof header);
}

}  // namespace

uint32_t ByteSetLength(const void* block) {
  if (!block) return 0;
  uint32_t length;
  std::memcpy(&length, static_cast<const uint8_t*>(block) + 4, sizeof length);
  return length;
}

const uint8_t* ByteSetBytes(const void* block) {
  return block ? static_cast<const uint8_t*>(block) + kByteSetHeaderBytes : nullptr;
}

void* MakeByteSet(const void* bytes, uint32_t length) {
  if (length == 0) return nullptr;
  auto* block = static_cast<uint8_t*>(AllocateComputedSize(uint64_t{length} + kByteSetHeaderBytes));
  WriteHeader(block, length);
  if (bytes) {
    std::memcpy(block + kByteSetHeaderBytes, bytes, length);
  } else {
    std::memset(block + kByteSetHeaderBytes, 0, length);
  }
  return block;
}

void* JoinByteSets(const void* const* blocks, size_t count) {
  uint64_t total = 0;
  for (size_t i = 0; i < count; ++i) total += ByteSetLength(blocks[i]);
  if (total == 0) return nullptr;
  auto* joined = static_cast<uint8_t*>(AllocateComputedSize(total + kByteSetHeaderBytes));
  WriteHeader(joined, static_cast<uint32_t>(total));
  uint8_t* out = joined + kByteSetHeaderBytes;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t length = ByteSetLength(blocks[i]);
    if (length) std::memcpy(out, ByteSetBytes(blocks[i]), length);
    out += length;
  }
  return joined;
}

Value OwnByteSetValue(void* block) {
  Value value{0, 0, kTagByteSet};
  StorePointer(value, block);
  return value;
}
