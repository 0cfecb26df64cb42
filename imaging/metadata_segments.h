// The JPEG marker segments that carry a picture's metadata blocks: EXIF in
// APP1 after "Exif\0\0", XMP in APP1 after its namespace header, the ICC
// profile in APP2 chunks after "ICC_PROFILE\0", a sequence number from 1
// and the chunk count. A segment's payload is at most 65,533 bytes (its
// 16-bit length counts itself): an EXIF or XMP block that does not fit one
// segment is left out rather than written broken, and so is a profile that
// needs more than 255 chunks.
//
// Only what the output can use is written: the first block of each kind,
// and a profile only when its colour space is the JPEG's (RGB for a colour
// file, gray for a grayscale one), so a grayscale JPEG drops an RGB
// profile. Nothing else of a block is looked at: the EXIF orientation, for
// one, stays as stored.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "imaging/readers/picture_description.h"

inline constexpr size_t kMaxSegmentPayload = 65533;
inline constexpr int kApp1Marker = 0xE1;
inline constexpr int kApp2Marker = 0xE2;

struct MarkerSegment {
  int marker;          // kApp1Marker or kApp2Marker
  std::string header;  // identifier, and for a profile chunk its numbers
  // A piece of one of the blocks the segments were made from, which must
  // outlive the segment.
  const char* data;
  size_t size;
};

// The segments in the order they are written: EXIF, XMP, the ICC chunks.
std::vector<MarkerSegment> MetadataSegments(const std::vector<MetadataBlock>& blocks, bool grayscale);
