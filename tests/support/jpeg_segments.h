// The marker segments of a JPEG file read back by walking its bytes, with
// the ICC profile reassembled from its APP2 chunks as a reader would: what
// a metadata round trip compares with what went in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct JpegSegment {
  uint8_t marker;       // 0xE0 for APP0 and so on
  std::string payload;  // after the two length bytes
};

// The segments from the start of image up to the first scan; false when
// the file does not start with SOI or a segment runs past its end.
bool ReadJpegSegments(const std::string& file, std::vector<JpegSegment>* segments);

// The payloads after `identifier` of the APPn segments that start with it.
std::vector<std::string> SegmentsWithIdentifier(const std::vector<JpegSegment>& segments, uint8_t marker,
                                                const std::string& identifier);

// The profile of the "ICC_PROFILE\0" chunks in sequence order; empty, with
// `error` set, when a chunk is missing, doubled or its numbers disagree.
std::string ReassembleIccProfile(const std::vector<JpegSegment>& segments, std::string* error);
