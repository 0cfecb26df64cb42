// JpegCodec: the reader against an independent libjpeg decode, the hostile
// headers it must refuse, and the writer's output compared with the
// same pixels encoded by libjpeg directly at the same settings.
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_strip_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

// JPEG output of one settings line must decode like libjpeg's own encode of
// the same pixels, within 3 levels a channel.
constexpr int kSameSettingsTolerance = 3;

void FillBuffer(const Pixels& pixels, int32_t bits, PictureBuffer* buffer) {
  ASSERT_TRUE(buffer->Allocate(pixels.width, pixels.height, bits, 0));
  ASSERT_EQ(buffer->stride() * buffer->height(), pixels.samples.size());
  std::copy(pixels.samples.begin(), pixels.samples.end(), buffer->pixels());
}

// Offsets of the top-level scans (SOS marker to the next marker) of a JPEG.
std::vector<std::pair<size_t, size_t>> ScanSegments(const std::string& bytes) {
  std::vector<std::pair<size_t, size_t>> scans;
  size_t at = 2;
  while (at + 4 <= bytes.size()) {
    const auto code = static_cast<uint8_t>(bytes[at + 1]);
    if (code == 0xD9) break;
    const size_t length = static_cast<uint8_t>(bytes[at + 2]) << 8 | static_cast<uint8_t>(bytes[at + 3]);
    size_t next = at + 2 + length;
    if (code == 0xDA) {
      // Entropy-coded data runs to the next marker that is not a stuffed
      // zero or a restart marker.
      while (next + 1 < bytes.size() &&
             !(static_cast<uint8_t>(bytes[next]) == 0xFF && bytes[next + 1] != 0 &&
               (static_cast<uint8_t>(bytes[next + 1]) < 0xD0 || static_cast<uint8_t>(bytes[next + 1]) > 0xD7)))
        ++next;
      scans.emplace_back(at, next);
    }
    at = next;
  }
  return scans;
}

// Rewrites the frame size in the first start-of-frame segment.
std::string WithFrameSize(std::string bytes, uint16_t width, uint16_t height) {
  for (size_t at = 2; at + 9 < bytes.size();) {
    const auto code = static_cast<uint8_t>(bytes[at + 1]);
    if (code == 0xC0 || code == 0xC2) {
      bytes[at + 5] = static_cast<char>(height >> 8);
      bytes[at + 6] = static_cast<char>(height & 0xFF);
      bytes[at + 7] = static_cast<char>(width >> 8);
      bytes[at + 8] = static_cast<char>(width & 0xFF);
      return bytes;
    }
    at += 2 + (static_cast<uint8_t>(bytes[at + 2]) << 8 | static_cast<uint8_t>(bytes[at + 3]));
  }
  ADD_FAILURE() << "no start-of-frame segment";
  return bytes;
}

class JpegCodecTest : public ::testing::Test {
 protected:
  ReadOutcome Read(const std::string& path) {
    JpegCodec codec;
    return ReadThrough(codec, path, &buffer_);
  }

  // Writes `buffer` with `codec.Write`, then checks the decoded output
  // against `expected` encoded by libjpeg at the same settings.
  void ExpectWritten(const PictureBuffer& buffer, int32_t colour, const JpegSettings& settings,
                     const Pixels& expected) {
    const std::string out = folder_.File("out.jpg");
    JpegCodec codec;
    ASSERT_EQ(codec.Write(out.c_str(), buffer, settings.quality, colour, settings.optimise ? 1 : 0,
                          settings.smoothing, nullptr),
              1);
    Pixels have, want;
    ASSERT_TRUE(DecodeJpegFile(out, &have)) << "the output does not decode cleanly";
    ASSERT_TRUE(ReencodeJpeg(folder_.File("ref"), expected, settings, &want));
    EXPECT_EQ(CompareSamples(have, want, kSameSettingsTolerance), "");
    const std::string bytes = ReadFileBytes(out);
    EXPECT_TRUE(JpegHasMarker(bytes, 0xC0)) << "want a baseline frame";
    EXPECT_FALSE(JpegHasMarker(bytes, 0xC2)) << "want no progressive frame";
  }

  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"jpeg_codec"};
  PictureBuffer buffer_;
};

}  // namespace

// Ink pictures of 16x24 pixels in flat 8x8 blocks (so that quality 100
// keeps each within a level or two), stored the Adobe way (255 = no ink) or
// as ink amounts, and the colours they stand for.
const uint8_t kInkBlocks[6][4] = {{255, 255, 255, 255}, {0, 255, 255, 255},  {255, 128, 255, 255},
                                  {255, 255, 255, 128}, {200, 100, 50, 128}, {0, 0, 0, 0}};
const uint8_t kInkColours[6][3] = {{255, 255, 255}, {0, 255, 255}, {255, 128, 255},
                                   {128, 128, 128}, {100, 50, 25},  {0, 0, 0}};

Pixels InkBlocks(bool amounts, int components, const std::function<uint8_t(int block, int c)>& sample) {
  Pixels pixels{16, 24, components, {}};
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 16; ++x)
      for (int c = 0; c < components; ++c) {
        const uint8_t value = sample(y / 8 * 2 + x / 8, c);
        pixels.samples.push_back(amounts ? static_cast<uint8_t>(255 - value) : value);
      }
  return pixels;
}

// The sRGB level of a neutral colour of lightness L* (D50 white).
uint8_t NeutralOfLightness(double lightness) {
  const double y = lightness > 8 ? std::pow((lightness + 16) / 116, 3) : lightness / 903.3;
  const double encoded = y <= 0.0031308 ? 12.92 * y : 1.055 * std::pow(y, 1 / 2.4) - 0.055;
  return static_cast<uint8_t>(std::lround(255 * encoded));
}

// Gray, colour and ink files, baseline, progressive and arithmetic-coded:
// gray and colour must decode exactly as libjpeg decodes them; ink must give
// the colours it stands for, through the file's profile when it has one.
TEST_F(JpegCodecTest, ReadsEveryKindOfFile) {
  const auto ink = [](int block, int c) { return kInkBlocks[block][c]; };
  const auto colours = [](int block, int c) { return kInkColours[block][c]; };
  // The profile makes a neutral colour of the cyan ink alone: L* = 100 - cyan.
  const auto through_profile = [](int block, int) { return NeutralOfLightness(kInkBlocks[block][0] * 100.0 / 255); };
  const auto settings = [](bool progressive, bool arithmetic) {
    JpegSettings made;
    made.progressive = progressive;
    made.arithmetic = arithmetic;
    made.optimise = !arithmetic;
    return made;
  };
  struct Case {
    const char* name;
    Pixels picture;
    JpegSettings settings;
    Pixels want;  // empty: libjpeg's own decode
    int tolerance;
  } cases[] = {
      {"gray", MakeGradient(33, 17, 1), settings(false, false), {}, 0},
      {"colour", MakeGradient(33, 17, 3), settings(false, false), {}, 0},
      {"gray progressive", MakeGradient(33, 17, 1), settings(true, false), {}, 0},
      {"colour progressive", MakeGradient(33, 17, 3), settings(true, false), {}, 0},
      {"colour arithmetic", MakeGradient(33, 17, 3), settings(false, true), {}, 0},
      {"colour arithmetic progressive", MakeGradient(33, 17, 3), settings(true, true), {}, 0},
      {"CMYK, Adobe marker", InkBlocks(false, 4, ink), settings(false, false), InkBlocks(false, 3, colours), 2},
      {"CMYK without Adobe marker", InkBlocks(true, 4, ink), settings(false, false), InkBlocks(false, 3, colours), 2},
      {"YCCK arithmetic progressive", InkBlocks(false, 4, ink), settings(true, true), InkBlocks(false, 3, colours), 3},
      {"CMYK with its profile", InkBlocks(false, 4, ink), settings(true, false),
       InkBlocks(false, 3, through_profile), 3},
  };
  cases[7].settings.adobe_marker = false;
  cases[8].settings.ycck = true;
  cases[9].settings.markers = IccMarkers(MakeCyanOnlyInkProfile(), 3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder_.File("in.jpg");
    ASSERT_TRUE(WriteJpegFile(path, c.picture, c.settings));
    ASSERT_EQ(Read(path), ReadOutcome::kDecoded);
    EXPECT_EQ(buffer_.palette_count(), 0);
    Pixels want = c.want;
    if (want.samples.empty()) {
      ASSERT_TRUE(DecodeJpegFile(path, &want));
    }
    EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer_), want, c.tolerance), "");
  }
}

TEST_F(JpegCodecTest, WriterReportsProgressOncePerRowAndAtTheEnd) {
  PictureBuffer colour;
  FillBuffer(MakeGradient(8, 40, 3), 24, &colour);
  static std::vector<int> rows;
  rows.clear();
  JpegCodec codec;
  ASSERT_EQ(codec.Write(folder_.File("out.jpg").c_str(), colour, 90, 1, 1, 0,
                        [](int stage, int percent, int row, int) {
                          if (stage == 0 && percent == (row + 1) * 100 / 40) rows.push_back(row);
                        }),
            1);
  ASSERT_EQ(rows.size(), 41u) << "a call per row, then one for the finished file";
  EXPECT_EQ(rows.front(), 0);
  EXPECT_EQ(rows[39], 39);
  EXPECT_EQ(rows.back(), 39);
}

TEST_F(JpegCodecTest, LeavesOtherFilesToTheOtherReaders) {
  const std::string path = folder_.File("in.jpg");
  ASSERT_TRUE(WriteFileBytes(path, "GIF89a\x01\x00\x01\x00"));
  EXPECT_EQ(Read(path), ReadOutcome::kRefused);
  ASSERT_TRUE(WriteFileBytes(path, std::string("\xFF\xD8\xFF", 3)));
  EXPECT_EQ(Read(path), ReadOutcome::kRefused) << "a bare start marker is no picture";
  EXPECT_EQ(Read(folder_.path()), ReadOutcome::kRefused) << "a folder is no picture";
}

TEST_F(JpegCodecTest, FailsFilesThatEndEarly) {
  const std::string path = folder_.File("in.jpg");
  ASSERT_TRUE(WriteJpegFile(path, MakeGradient(64, 64, 3), JpegSettings{}));
  const std::string whole = ReadFileBytes(path);
  const size_t first_scan = ScanSegments(whole).at(0).first;
  for (size_t keep : {first_scan + 20, whole.size() / 2, whole.size() - 40}) {
    ASSERT_TRUE(WriteFileBytes(path, whole.substr(0, keep)));
    EXPECT_EQ(Read(path), ReadOutcome::kDecodeFailed) << "cut to " << keep << " of " << whole.size() << " bytes";
  }
  ASSERT_TRUE(WriteFileBytes(path, whole.substr(0, first_scan / 2)));
  EXPECT_EQ(Read(path), ReadOutcome::kRefused) << "cut inside the header";
}

TEST_F(JpegCodecTest, RefusesHeaderBombs) {
  const std::string path = folder_.File("bomb.jpg");
  for (bool progressive : {false, true}) {
    JpegSettings settings;
    settings.progressive = progressive;
    ASSERT_TRUE(WriteJpegFile(path, MakeGradient(8, 8, 3), settings));
    const std::string small = ReadFileBytes(path);
    ASSERT_LT(small.size(), 1500u);

    ASSERT_TRUE(WriteFileBytes(path, WithFrameSize(small, 65500, 65500)));
    EXPECT_EQ(Read(path), ReadOutcome::kRefused) << "65500x65500 is beyond the pixel limit";
    // Within the limit, the end of the file ends the decode: libjpeg alone
    // would fill the 8000 missing rows with grey and call it decoded.
    const std::string cut = small.substr(0, small.size() - 2);  // no end marker
    ASSERT_TRUE(WriteFileBytes(path, WithFrameSize(cut, 8000, 8000)));
    EXPECT_EQ(Read(path), ReadOutcome::kDecodeFailed) << "progressive " << progressive;
  }
}

TEST_F(JpegCodecTest, FailsProgressiveFilesOfThousandsOfScans) {
  const std::string path = folder_.File("scans.jpg");
  JpegSettings settings;
  settings.progressive = true;
  ASSERT_TRUE(WriteJpegFile(path, MakeGradient(256, 256, 3), settings));
  const std::string original = ReadFileBytes(path);
  const auto scans = ScanSegments(original);
  ASSERT_GE(scans.size(), 2u);
  const std::string last = original.substr(scans.back().first, scans.back().second - scans.back().first);
  auto repeated = [&](int times) {
    std::string bytes = original.substr(0, scans.back().second);
    for (int i = 0; i < times; ++i) bytes += last;
    return bytes + original.substr(scans.back().second);
  };
  // A few repeated refinement scans are only warnings; thousands are refused
  // (libjpeg alone would decode them all, for minutes).
  ASSERT_TRUE(WriteFileBytes(path, repeated(20)));
  EXPECT_EQ(Read(path), ReadOutcome::kDecoded);
  ASSERT_TRUE(WriteFileBytes(path, repeated(5000)));
  EXPECT_EQ(Read(path), ReadOutcome::kDecodeFailed);
}

TEST_F(JpegCodecTest, WritesEveryDepthAsLibjpegWouldEncodeItsColours) {
  const Pixels rgb = MakeGradient(37, 21, 3);
  const JpegSettings settings;  // quality 100, optimised, no smoothing

  PictureBuffer colour;
  FillBuffer(rgb, 24, &colour);
  ExpectWritten(colour, 1, settings, rgb);
  ExpectWritten(colour, 0, settings, ToWeightedGray(rgb));

  // 32 bits: the alpha byte is dropped, never blended.
  Pixels argb = MakeGradient(37, 21, 4);
  for (int i = 0; i < 37 * 21; ++i) argb.samples[i * 4] = static_cast<uint8_t>(i * 7);
  Pixels argb_colours{37, 21, 3, {}};
  for (int i = 0; i < 37 * 21; ++i)
    argb_colours.samples.insert(argb_colours.samples.end(), &argb.samples[i * 4 + 1], &argb.samples[i * 4 + 4]);
  PictureBuffer with_alpha;
  FillBuffer(argb, 32, &with_alpha);
  ExpectWritten(with_alpha, 1, settings, argb_colours);

  // 8-bit gray becomes three equal components in colour mode.
  const Pixels gray = MakeGradient(37, 21, 1);
  Pixels gray_as_rgb{37, 21, 3, {}};
  for (uint8_t value : gray.samples) gray_as_rgb.samples.insert(gray_as_rgb.samples.end(), 3, value);
  PictureBuffer gray_buffer;
  FillBuffer(gray, 8, &gray_buffer);
  ExpectWritten(gray_buffer, 1, settings, gray_as_rgb);
  ExpectWritten(gray_buffer, 0, settings, gray);
}

TEST_F(JpegCodecTest, WritesPalettePicturesThroughTheirPalette) {
  PictureBuffer paletted;
  ASSERT_TRUE(paletted.Allocate(16, 16, 8, 256));
  Pixels colours{16, 16, 3, {}}, grays{16, 16, 1, {}};
  for (int i = 0; i < 256; ++i) {
    paletted.palette()[i] = PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                         static_cast<uint8_t>(i / 2), 0};
  }
  for (int i = 0; i < 256; ++i) {
    const uint8_t index = static_cast<uint8_t>((i % 16) * 8 + (i / 16) * 4);
    paletted.pixels()[i] = index;
    const PaletteEntry& entry = paletted.palette()[index];
    colours.samples.insert(colours.samples.end(), {entry.red, entry.green, entry.blue});
    grays.samples.push_back(WeightedGray(entry.red, entry.green, entry.blue));
  }
  ExpectWritten(paletted, 1, JpegSettings{}, colours);
  ExpectWritten(paletted, 0, JpegSettings{}, grays);
}

TEST_F(JpegCodecTest, AppliesQualityOptimisationAndSmoothing) {
  const Pixels rgb = MakeGradient(48, 40, 3);
  PictureBuffer colour;
  FillBuffer(rgb, 24, &colour);
  for (JpegSettings settings : {JpegSettings{1, true, 0, false}, JpegSettings{50, false, 0, false},
                                JpegSettings{90, true, 100, false}, JpegSettings{100, false, 37, false}}) {
    SCOPED_TRACE(::testing::Message() << "quality " << settings.quality << " optimise " << settings.optimise
                                      << " smoothing " << settings.smoothing);
    ExpectWritten(colour, 1, settings, rgb);
  }
  // Optimised Huffman tables make the same picture smaller.
  JpegCodec codec;
  const std::string plain = folder_.File("plain.jpg"), optimised = folder_.File("optimised.jpg");
  ASSERT_EQ(codec.Write(plain.c_str(), colour, 90, 1, 0, 0, nullptr), 1);
  ASSERT_EQ(codec.Write(optimised.c_str(), colour, 90, 1, 1, 0, nullptr), 1);
  EXPECT_LT(ReadFileBytes(optimised).size(), ReadFileBytes(plain).size());
}

// With optimised tables libjpeg writes the whole file in its last pass,
// after the last row: a cancel request then still stops it.
TEST_F(JpegCodecTest, StripWriterStopsInItsLastPassOnCancel) {
  const Pixels rgb = MakeGradient(64, 48, 3);
  const std::string out = folder_.File("out.jpg");
  for (int32_t flag : {0, 1}) {
    ASSERT_TRUE(WriteFileBytes(out, "untouched"));
    int32_t raised = 0;
    const CancelRequest cancel(&raised);
    JpegStripWriter writer;
    ASSERT_TRUE(writer.Begin(out.c_str(), 64, 48, EncodeSettings{}, {}, cancel));
    ASSERT_TRUE(writer.WriteRows(rgb.samples.data(), 64 * 3, 48));
    raised = flag;
    EXPECT_EQ(writer.Finish(), flag == 0) << "cancel flag " << flag;
    EXPECT_EQ(ReadFileBytes(out) == "untouched", flag == 1) << "cancel flag " << flag;
  }
}

TEST_F(JpegCodecTest, RefusesBadSettingsWithoutTouchingTheDestination) {
  PictureBuffer colour;
  FillBuffer(MakeGradient(8, 8, 3), 24, &colour);
  const std::string out = folder_.File("out.jpg");
  const std::string existing = folder_.File("existing.jpg");
  ASSERT_TRUE(WriteFileBytes(existing, "keep me"));
  JpegCodec codec;
  struct Case {
    int32_t quality, smoothing;
  } cases[] = {{0, 0}, {101, 0}, {-5, 0}, {100, -1}, {100, 101}};
  for (const Case& c : cases) {
    EXPECT_EQ(codec.Write(out.c_str(), colour, c.quality, 1, 1, c.smoothing, nullptr), 0)
        << "quality " << c.quality << " smoothing " << c.smoothing;
    EXPECT_EQ(codec.Write(existing.c_str(), colour, c.quality, 1, 1, c.smoothing, nullptr), 0);
  }
  PictureBuffer empty;
  EXPECT_EQ(codec.Write(out.c_str(), empty, 90, 1, 1, 0, nullptr), 0);
  EXPECT_FALSE(FileExists(out));
  EXPECT_EQ(ReadFileBytes(existing), "keep me");
  EXPECT_EQ(codec.Write(folder_.File("missing/out.jpg").c_str(), colour, 90, 1, 1, 0, nullptr), 0);
  EXPECT_FALSE(FileExists(folder_.File("missing")));
}
