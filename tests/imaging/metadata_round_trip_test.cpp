// Metadata round trips: a reader hands on EXIF, XMP and an ICC profile, the
// conversion writes the JPEG, and the file's marker segments must give the
// blocks back (the profile put together from its chunks in sequence
// order), at and past the sizes one segment or 255 chunks can carry.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "imaging/strip_pipeline.h"
#include "tests/support/library_format_files.h"
#include "tests/support/scratch_folder.h"

namespace {

constexpr size_t kSegment = 65533;  // the largest payload of a segment

// `start` padded to `size` bytes with a pattern that shows a misplaced chunk.
std::string Block(std::string start, size_t size) {
  for (size_t i = start.size(); i < size; ++i) start += static_cast<char>(i * 7 + i / 251);
  return start.substr(0, size);
}
// A TIFF block of one entry, Orientation 6, which must come out as stored;
// XMP; a profile, its colour space at byte 16.
std::string Exif(size_t size = 26) {
  return Block(std::string("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 26), size);
}
std::string Xmp(size_t size = 80) { return Block("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>", size); }
std::string Profile(const char* colour_space, size_t size) {
  return Block(std::string(16, '\0') + colour_space, size);
}

// What the file's APP1 and APP2 segments carry; `error` tells chunks whose
// numbers are not 1..count.
struct Carried {
  std::vector<std::string> exif, xmp;
  std::string icc, error;
};

Carried ReadBack(const std::string& file) {
  static const std::string kExif("Exif\0\0", 6), kXmp("http://ns.adobe.com/xap/1.0/\0", 29),
      kIcc("ICC_PROFILE\0", 12);
  Carried carried;
  std::map<int, std::string> chunks;  // by sequence number
  size_t chunk_count = 0;
  for (size_t at = 2; at + 4 <= file.size() && file[at + 1] != '\xDA';) {
    const char marker = file[at + 1];
    const size_t length = static_cast<uint8_t>(file[at + 2]) << 8 | static_cast<uint8_t>(file[at + 3]);
    const std::string payload = file.substr(at + 4, length - 2);
    at += 2 + length;
    if (marker == '\xE1' && payload.compare(0, 6, kExif) == 0) carried.exif.push_back(payload.substr(6));
    if (marker == '\xE1' && payload.compare(0, 29, kXmp) == 0) carried.xmp.push_back(payload.substr(29));
    if (marker != '\xE2' || payload.compare(0, 12, kIcc) != 0) continue;
    chunks[static_cast<uint8_t>(payload[12])] += payload.substr(14);
    chunk_count = static_cast<uint8_t>(payload[13]);
  }
  for (const auto& chunk : chunks) carried.icc += chunk.second;
  if (chunks.size() != chunk_count || (!chunks.empty() && chunks.rbegin()->first != static_cast<int>(chunk_count)))
    carried.error = std::to_string(chunks.size()) + " chunks numbered up to " + std::to_string(chunk_count);
  return carried;
}

// Rows of a gradient, described with the blocks it was given.
class ReaderWithMetadata : public PictureReader {
 public:
  explicit ReaderWithMetadata(std::vector<MetadataBlock> blocks) : blocks_(std::move(blocks)) {}

 private:
  bool ReadHeader(const char*, PictureDescription* description) override {
    *description = PictureDescription();
    description->width = 24;
    description->height = 16;
    description->metadata = blocks_;
    return true;
  }
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override {
    for (size_t i = 0; i < stride * static_cast<size_t>(count); ++i) rows[i] = static_cast<uint8_t>(i * 3);
    return true;
  }
  void ReleaseDecoder() override {}
  std::vector<MetadataBlock> blocks_;
};

}  // namespace

TEST(MetadataRoundTrip, WhatGoesInComesOutOfTheMarkers) {
  ScratchFolder folder("metadata_round_trip");
  const std::string rgb = Profile("RGB ", 3000), gray = Profile("GRAY", 400);
  const std::string three_chunks = Profile("RGB ", 150000), too_many = Profile("RGB ", 255 * (kSegment - 14) + 1);
  using K = MetadataKind;
  const struct Case {
    const char* what;
    std::vector<MetadataBlock> blocks;
    bool grayscale, strip;
    std::string exif, xmp, icc;  // want; empty: no such segment
  } cases[] = {
      {"all three kinds", {{K::kIcc, rgb}, {K::kXmp, Xmp()}, {K::kExif, Exif()}}, false, false, Exif(), Xmp(), rgb},
      {"stripped", {{K::kExif, Exif()}, {K::kXmp, Xmp()}, {K::kIcc, rgb}}, false, true, "", "", ""},
      {"a profile in three chunks", {{K::kIcc, three_chunks}}, false, false, "", "", three_chunks},
      {"a profile needing 256 chunks is left out", {{K::kIcc, too_many}}, false, false, "", "", ""},
      {"blocks filling a segment", {{K::kExif, Exif(kSegment - 6)}, {K::kXmp, Xmp(kSegment - 29)}}, false, false,
       Exif(kSegment - 6), Xmp(kSegment - 29), ""},
      {"a byte more is left out", {{K::kExif, Exif(kSegment - 5)}, {K::kXmp, Xmp(kSegment - 28)}, {K::kIcc, rgb}},
       false, false, "", "", rgb},
      {"grayscale drops an RGB profile", {{K::kExif, Exif()}, {K::kIcc, rgb}}, true, false, Exif(), "", ""},
      {"grayscale keeps a gray profile", {{K::kIcc, gray}}, true, false, "", "", gray},
      {"colour drops a gray profile", {{K::kIcc, gray}}, false, false, "", "", ""},
  };
  const std::string destination = folder.File("out.jpg");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReaderWithMetadata reader(c.blocks);
    ASSERT_TRUE(reader.Open("made up"));
    ConversionOptions options;
    options.keep_metadata = !c.strip;
    EncodeSettings settings;
    settings.grayscale = c.grayscale;
    ASSERT_EQ(StripPipeline(reader, settings, CancelRequest(), options).Run(destination.c_str()),
              PipelineOutcome::kConverted);
    Pixels decoded;
    EXPECT_TRUE(DecodeJpegFile(destination, &decoded)) << "the segments broke the file";
    const Carried carried = ReadBack(ReadFileBytes(destination));
    EXPECT_EQ(carried.error, "");
    EXPECT_TRUE(carried.exif == (c.exif.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.exif}));
    EXPECT_TRUE(carried.xmp == (c.xmp.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.xmp}));
    EXPECT_TRUE(carried.icc == c.icc) << "have a profile of " << carried.icc.size() << " bytes, want " << c.icc.size();
  }
}
