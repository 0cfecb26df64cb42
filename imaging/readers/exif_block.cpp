// A TIFF structure: the byte-order mark, 42, the offset of the first
// directory; a directory is a 16-bit entry count, then 12-byte entries of
// tag, type, count and a 4-byte value field that holds a SHORT value in its
// first two bytes. Every offset is checked against the block before use.
#include "imaging/readers/exif_block.h"

#include <cstring>

namespace {

constexpr char kIdentifier[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kEntryBytes = 12;

bool StartsWithByteOrderMark(const uint8_t* data, size_t size) {
  return size >= 8 && (std::memcmp(data, "II*\0", 4) == 0 || std::memcmp(data, "MM\0*", 4) == 0);
}

// Fields in the block's own byte order.
struct ByteOrder {
  bool little;
  uint16_t Get16(const std::string& bytes, size_t at) const {
    const auto b0 = static_cast<uint8_t>(bytes[at]), b1 = static_cast<uint8_t>(bytes[at + 1]);
    return static_cast<uint16_t>(little ? b0 | b1 << 8 : b0 << 8 | b1);
  }
  uint32_t Get32(const std::string& bytes, size_t at) const {
    const uint32_t high = Get16(bytes, at + (little ? 2 : 0)), low = Get16(bytes, at + (little ? 0 : 2));
    return high << 16 | low;
  }
  void Put16(std::string* bytes, size_t at, uint16_t value) const {
    (*bytes)[at + (little ? 0 : 1)] = static_cast<char>(value & 0xFF);
    (*bytes)[at + (little ? 1 : 0)] = static_cast<char>(value >> 8);
  }
};

}  // namespace

std::string ExifBlockFromPayload(const uint8_t* data, size_t size) {
  if (data == nullptr) return std::string();
  if (size >= sizeof kIdentifier && std::memcmp(data, kIdentifier, sizeof kIdentifier) == 0) {
    data += sizeof kIdentifier;
    size -= sizeof kIdentifier;
  }
  if (!StartsWithByteOrderMark(data, size)) return std::string();
  return std::string(reinterpret_cast<const char*>(data), size);
}

bool MarkExifUpright(std::string* block) {
  const std::string& bytes = *block;
  if (!StartsWithByteOrderMark(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return false;
  const ByteOrder order{bytes[0] == 'I'};
  const uint64_t directory = order.Get32(bytes, 4);
  if (directory + 2 > bytes.size()) return false;
  const uint64_t entries = order.Get16(bytes, directory);
  if (directory + 2 + entries * kEntryBytes > bytes.size()) return false;
  for (uint64_t i = 0; i < entries; ++i) {
    const size_t entry = static_cast<size_t>(directory + 2 + i * kEntryBytes);
    if (order.Get16(bytes, entry) != kOrientationTag) continue;
    // Only the form the standard gives the tag, one SHORT held in place.
    if (order.Get16(bytes, entry + 2) == kShortType && order.Get32(bytes, entry + 4) == 1)
      order.Put16(block, entry + 8, 1);
  }
  return true;
}
