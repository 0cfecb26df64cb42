// Segment layout of each metadata kind; see metadata_segments.h.
#include "imaging/metadata_segments.h"

namespace {

constexpr char kExifHeader[] = "Exif\0";  // with the literal's own NUL: "Exif\0\0"
constexpr size_t kExifHeaderSize = sizeof kExifHeader;
constexpr char kXmpHeader[] = "http://ns.adobe.com/xap/1.0/";  // and its NUL
constexpr size_t kXmpHeaderSize = sizeof kXmpHeader;
constexpr char kIccHeader[] = "ICC_PROFILE";  // and its NUL, then two numbers
constexpr size_t kIccHeaderSize = sizeof kIccHeader + 2;
constexpr size_t kIccChunk = kMaxSegmentPayload - kIccHeaderSize;
constexpr size_t kMaxIccChunks = 255;

// A profile's header is 128 bytes; its data colour space is at 16.
constexpr size_t kIccProfileHeaderSize = 128;
constexpr size_t kIccColourSpaceAt = 16;

const MetadataBlock* FirstOf(const std::vector<MetadataBlock>& blocks, MetadataKind kind) {
  for (const MetadataBlock& block : blocks)
    if (block.kind == kind) return &block;
  return nullptr;
}

// The whole block in one segment, when it fits.
void AddWhole(const MetadataBlock* block, const char* header, size_t header_size,
              std::vector<MarkerSegment>* segments) {
  if (block == nullptr || block->bytes.empty() || block->bytes.size() > kMaxSegmentPayload - header_size) return;
  segments->push_back(MarkerSegment{kApp1Marker, std::string(header, header_size), block->bytes.data(),
                                    block->bytes.size()});
}

bool ProfileSuitsOutput(const std::string& profile, bool grayscale) {
  if (profile.size() < kIccProfileHeaderSize) return false;
  return profile.compare(kIccColourSpaceAt, 4, grayscale ? "GRAY" : "RGB ") == 0;
}

void AddProfileChunks(const MetadataBlock* block, bool grayscale, std::vector<MarkerSegment>* segments) {
  if (block == nullptr || !ProfileSuitsOutput(block->bytes, grayscale)) return;
  const size_t size = block->bytes.size();
  const size_t chunks = (size + kIccChunk - 1) / kIccChunk;
  if (chunks > kMaxIccChunks) return;
  for (size_t i = 0; i < chunks; ++i) {
    std::string header(kIccHeader, sizeof kIccHeader);
    header += static_cast<char>(i + 1);  // sequence numbers count from 1
    header += static_cast<char>(chunks);
    const size_t at = i * kIccChunk;
    segments->push_back(MarkerSegment{kApp2Marker, header, block->bytes.data() + at,
                                      size - at < kIccChunk ? size - at : kIccChunk});
  }
}

}  // namespace

std::vector<MarkerSegment> MetadataSegments(const std::vector<MetadataBlock>& blocks, bool grayscale) {
  std::vector<MarkerSegment> segments;
  AddWhole(FirstOf(blocks, MetadataKind::kExif), kExifHeader, kExifHeaderSize, &segments);
  AddWhole(FirstOf(blocks, MetadataKind::kXmp), kXmpHeader, kXmpHeaderSize, &segments);
  AddProfileChunks(FirstOf(blocks, MetadataKind::kIcc), grayscale, &segments);
  return segments;
}
