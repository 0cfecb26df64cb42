#include "tests/support/jpeg_segments.h"

#include <map>

namespace {

const std::string kIccIdentifier("ICC_PROFILE\0", 12);

}  // namespace

bool ReadJpegSegments(const std::string& file, std::vector<JpegSegment>* segments) {
  segments->clear();
  if (file.size() < 2 || file.compare(0, 2, "\xFF\xD8") != 0) return false;
  for (size_t at = 2;;) {
    if (at + 4 > file.size() || static_cast<uint8_t>(file[at]) != 0xFF) return false;
    const auto marker = static_cast<uint8_t>(file[at + 1]);
    const size_t length = static_cast<size_t>(static_cast<uint8_t>(file[at + 2])) << 8 |
                          static_cast<uint8_t>(file[at + 3]);
    if (length < 2 || at + 2 + length > file.size()) return false;
    if (marker == 0xDA) return true;
    segments->push_back(JpegSegment{marker, file.substr(at + 4, length - 2)});
    at += 2 + length;
  }
}

std::vector<std::string> SegmentsWithIdentifier(const std::vector<JpegSegment>& segments, uint8_t marker,
                                                const std::string& identifier) {
  std::vector<std::string> payloads;
  for (const JpegSegment& segment : segments)
    if (segment.marker == marker && segment.payload.compare(0, identifier.size(), identifier) == 0)
      payloads.push_back(segment.payload.substr(identifier.size()));
  return payloads;
}

std::string ReassembleIccProfile(const std::vector<JpegSegment>& segments, std::string* error) {
  const auto fail = [error](const std::string& why) {
    *error = why;
    return std::string();
  };
  std::map<int, std::string> chunks;
  int count = -1;
  for (const std::string& chunk : SegmentsWithIdentifier(segments, 0xE2, kIccIdentifier)) {
    if (chunk.size() < 2) return fail("a chunk without its numbers");
    const int sequence = static_cast<uint8_t>(chunk[0]), total = static_cast<uint8_t>(chunk[1]);
    if (count != -1 && total != count) return fail("chunks disagree on their count");
    count = total;
    if (sequence < 1 || sequence > total || !chunks.emplace(sequence, chunk.substr(2)).second)
      return fail("chunk " + std::to_string(sequence) + " of " + std::to_string(total) + " is out of place");
  }
  if (count != -1 && static_cast<int>(chunks.size()) != count)
    return fail("have " + std::to_string(chunks.size()) + " chunks, want " + std::to_string(count));
  std::string profile;
  for (const auto& chunk : chunks) profile += chunk.second;
  return profile;
}
