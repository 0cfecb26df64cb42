// Identifiers of the segments read here:
//   APP1 "Exif\0\0"                          EXIF
//   APP1 "http://ns.adobe.com/xap/1.0/\0"    XMP
//   APP2 "ICC_PROFILE\0" sequence count      one chunk of the profile
#include "imaging/readers/jpeg_marker_metadata.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr char kExif[] = "Exif\0";  // with the terminator: six bytes
constexpr size_t kExifLength = 6;
constexpr char kXmp[] = "http://ns.adobe.com/xap/1.0/";  // with the terminator
constexpr size_t kXmpLength = sizeof kXmp;
constexpr char kIcc[] = "ICC_PROFILE";  // with the terminator
constexpr size_t kIccLength = sizeof kIcc;

bool StartsWith(const jpeg_marker_struct& marker, const char* identifier, size_t length) {
  return marker.data_length >= length && std::memcmp(marker.data, identifier, length) == 0;
}

std::string PayloadAfter(const jpeg_marker_struct& marker, size_t identifier_length) {
  return std::string(reinterpret_cast<const char*>(marker.data) + identifier_length,
                     marker.data_length - identifier_length);
}

// The profile from its chunks: every chunk names the same count, and each
// sequence number from 1 to that count comes exactly once.
std::string JoinProfileChunks(const std::vector<const jpeg_marker_struct*>& chunks) {
  if (chunks.empty()) return std::string();
  const unsigned count = chunks.front()->data[kIccLength + 1];
  if (count == 0 || chunks.size() != count) return std::string();
  std::vector<const jpeg_marker_struct*> in_order(count, nullptr);
  for (const jpeg_marker_struct* chunk : chunks) {
    const unsigned sequence = chunk->data[kIccLength];
    if (chunk->data[kIccLength + 1] != count || sequence < 1 || sequence > count || in_order[sequence - 1])
      return std::string();
    in_order[sequence - 1] = chunk;
  }
  std::string profile;
  for (const jpeg_marker_struct* chunk : in_order) profile += PayloadAfter(*chunk, kIccLength + 2);
  return profile;
}

}  // namespace

JpegMarkerMetadata CollectJpegMetadata(const jpeg_marker_struct* markers) {
  JpegMarkerMetadata found;
  std::vector<const jpeg_marker_struct*> profile_chunks;
  for (const jpeg_marker_struct* marker = markers; marker != nullptr; marker = marker->next) {
    if (marker->data_length != marker->original_length) continue;
    if (marker->marker == JPEG_APP0 + 1) {
      if (found.exif.empty() && StartsWith(*marker, kExif, kExifLength))
        found.exif = PayloadAfter(*marker, kExifLength);
      else if (found.xmp.empty() && StartsWith(*marker, kXmp, kXmpLength))
        found.xmp = PayloadAfter(*marker, kXmpLength);
    } else if (marker->marker == JPEG_APP0 + 2 && marker->data_length >= kIccLength + 2 &&
               StartsWith(*marker, kIcc, kIccLength)) {
      profile_chunks.push_back(marker);
    }
  }
  found.icc = JoinProfileChunks(profile_chunks);
  return found;
}
