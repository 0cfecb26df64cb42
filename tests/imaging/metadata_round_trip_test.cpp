// Metadata round trips: a reader hands on EXIF, XMP and an ICC profile, the
// conversion writes the JPEG, and its marker segments are read back from
// the file and compared with what went in, in colour and in grayscale,
// with blocks at and past the sizes one segment (or 255 chunks) can carry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/strip_pipeline.h"
#include "tests/support/jpeg_segments.h"
#include "tests/support/library_format_files.h"
#include "tests/support/scratch_folder.h"

namespace {

constexpr size_t kSegment = 65533;
const std::string kExifIdentifier("Exif\0\0", 6);
const std::string kXmpIdentifier("http://ns.adobe.com/xap/1.0/\0", 29);

// A little-endian TIFF block of one directory entry: Orientation 6 (the
// camera turned right), which must come out as stored. `size` pads it.
std::string Exif(size_t size = 26) {
  std::string block("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 26);
  block.resize(size, 'e');
  return block;
}

std::string Xmp(size_t size = 120) {
  std::string packet = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF/></x:xmpmeta>";
  packet.resize(size, ' ');
  return packet;
}

// A profile header naming its data colour space, then a byte pattern that
// shows a misplaced chunk.
std::string Profile(const char* colour_space, size_t size) {
  std::string profile(size, '\0');
  for (size_t i = 0; i < size; ++i) profile[i] = static_cast<char>(i * 7 + i / 251);
  profile.replace(16, 4, colour_space);
  profile.replace(36, 4, "acsp");
  return profile;
}

// Rows of a gradient, described with the blocks it was given.
class ReaderWithMetadata : public PictureReader {
 public:
  explicit ReaderWithMetadata(std::vector<MetadataBlock> blocks) : blocks_(std::move(blocks)) {}

 private:
  bool ReadHeader(const char*, PictureDescription* description) override {
    description->width = 24;
    description->height = 16;
    description->layout = PixelLayout::kRgb24;
    description->metadata = blocks_;
    return true;
  }
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override {
    for (int32_t i = 0; i < count; ++i)
      for (size_t x = 0; x < stride; ++x) rows[i * stride + x] = static_cast<uint8_t>(x * 3 + (rows_read() + i) * 5);
    return true;
  }
  void ReleaseDecoder() override {}
  std::vector<MetadataBlock> blocks_;
};

}  // namespace

TEST(MetadataRoundTrip, WhatGoesInComesOutOfTheMarkers) {
  ScratchFolder folder("metadata_round_trip");
  const std::string rgb = Profile("RGB ", 3000), gray = Profile("GRAY", 400);
  // Three chunks, the last one short; and one byte past 255 full chunks.
  const std::string large = Profile("RGB ", 150000);
  const std::string too_many_chunks = Profile("RGB ", 255 * (kSegment - 14) + 1);
  const struct Case {
    const char* what;
    std::vector<MetadataBlock> blocks;
    bool grayscale, strip;
    std::string exif, xmp, icc;  // want; empty: no such segment
  } cases[] = {
      {"all three kinds", {{MetadataKind::kIcc, rgb}, {MetadataKind::kXmp, Xmp()}, {MetadataKind::kExif, Exif()}},
       false, false, Exif(), Xmp(), rgb},
      {"stripped", {{MetadataKind::kExif, Exif()}, {MetadataKind::kXmp, Xmp()}, {MetadataKind::kIcc, rgb}},
       false, true, "", "", ""},
      {"a profile over several chunks", {{MetadataKind::kIcc, large}}, false, false, "", "", large},
      {"a profile that needs 256 chunks is left out", {{MetadataKind::kIcc, too_many_chunks}}, false, false, "",
       "", ""},
      {"blocks that fill one segment exactly",
       {{MetadataKind::kExif, Exif(kSegment - 6)}, {MetadataKind::kXmp, Xmp(kSegment - 29)}}, false, false,
       Exif(kSegment - 6), Xmp(kSegment - 29), ""},
      {"EXIF and XMP one byte too large are left out, the rest kept",
       {{MetadataKind::kExif, Exif(kSegment - 5)}, {MetadataKind::kXmp, Xmp(kSegment - 28)},
        {MetadataKind::kIcc, rgb}},
       false, false, "", "", rgb},
      {"grayscale drops an RGB profile", {{MetadataKind::kExif, Exif()}, {MetadataKind::kIcc, rgb}}, true, false,
       Exif(), "", ""},
      {"grayscale keeps a gray profile", {{MetadataKind::kIcc, gray}}, true, false, "", "", gray},
      {"colour drops a gray profile", {{MetadataKind::kIcc, gray}}, false, false, "", "", ""},
      {"the first block of a kind", {{MetadataKind::kExif, Exif()}, {MetadataKind::kExif, Exif(40)}}, false, false,
       Exif(), "", ""},
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
    std::vector<JpegSegment> segments;
    ASSERT_TRUE(ReadJpegSegments(ReadFileBytes(destination), &segments));
    ASSERT_FALSE(segments.empty());
    EXPECT_EQ(segments[0].marker, 0xE0) << "the JFIF header comes first";
    for (const JpegSegment& segment : segments) EXPECT_LE(segment.payload.size(), kSegment);

    const std::vector<std::string> exif = SegmentsWithIdentifier(segments, 0xE1, kExifIdentifier);
    const std::vector<std::string> xmp = SegmentsWithIdentifier(segments, 0xE1, kXmpIdentifier);
    EXPECT_EQ(exif.size(), c.exif.empty() ? 0u : 1u);
    EXPECT_EQ(xmp.size(), c.xmp.empty() ? 0u : 1u);
    if (!exif.empty()) EXPECT_TRUE(exif[0] == c.exif) << "EXIF changed";
    if (!xmp.empty()) EXPECT_TRUE(xmp[0] == c.xmp) << "XMP changed";
    std::string error;
    const std::string profile = ReassembleIccProfile(segments, &error);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(profile == c.icc) << "have a profile of " << profile.size() << " bytes, want " << c.icc.size();
  }
}
