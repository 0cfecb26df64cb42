// PngReader: every colour type and depth normalised to the engine's depths,
// gamma and interlacing, truncation, size bombs, and the PngSuite pictures.
#include "imaging/readers/png_reader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

class PngReaderTest : public ::testing::Test {
 protected:
  ReadOutcome Read(const std::string& path) {
    PngReader reader;
    return ReadThrough(reader, path, &buffer_);
  }
  ReadOutcome Write(const PngPicture& picture) {
    EXPECT_TRUE(WritePngFile(path_, picture));
    return Read(path_);
  }
  void ExpectBytes(const std::vector<uint8_t>& want) {
    const Pixels have = PixelsOfBuffer(buffer_);
    ASSERT_EQ(have.samples.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
      ASSERT_EQ(have.samples[i], want[i]) << "byte " << i << ": have " << int(have.samples[i]) << ", want "
                                          << int(want[i]);
  }
  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"png_reader"};
  std::string path_ = folder_.File("picture.png");
  PictureBuffer buffer_;
};

}  // namespace

// Every colour type at each of its depths, plain and interlaced, with and
// without transparency: the bytes handed out in the layout they come in.
TEST_F(PngReaderTest, ReadsEveryColourTypeAndDepth) {
  constexpr int kGray = PNG_COLOR_TYPE_GRAY, kRgb = PNG_COLOR_TYPE_RGB, kPalette = PNG_COLOR_TYPE_PALETTE;
  constexpr int kGrayAlpha = PNG_COLOR_TYPE_GRAY_ALPHA, kRgba = PNG_COLOR_TYPE_RGB_ALPHA;
  const std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  const std::vector<uint8_t> palette = {0, 0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  struct Case {
    const char* name;
    PngPicture picture;
    std::vector<uint8_t> trns;  // the tRNS chunk's payload
    int bits;                   // of the layout handed out
    std::vector<uint8_t> want;
  } cases[] = {
      {"RGB", {3, 2, kRgb, 8, false, rgb}, {}, 24, rgb},
      {"RGB interlaced", {3, 2, kRgb, 8, true, rgb}, {}, 24, rgb},
      {"RGB, a transparent colour", {2, 1, kRgb, 8, false, {1, 1, 1, 4, 5, 6}}, {0, 1}, 32, {0, 1, 1, 1, 255, 4, 5, 6}},
      {"RGBA: alpha moves in front", {2, 1, kRgba, 8, false, {10, 20, 30, 40, 50, 60, 70, 80}}, {}, 32,
       {40, 10, 20, 30, 80, 50, 60, 70}},
      {"RGBA 16-bit: the high bytes", {1, 1, kRgba, 16, false, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}}, {},
       32, {0xDE, 0x12, 0x56, 0x9A}},
      {"gray 1-bit", {4, 1, kGray, 1, false, {0xA0}}, {}, 8, {255, 0, 255, 0}},
      {"gray 2-bit", {4, 1, kGray, 2, false, {0x1B}}, {}, 8, {0, 85, 170, 255}},
      {"gray 4-bit", {4, 1, kGray, 4, false, {0x0F, 0x58}}, {}, 8, {0, 255, 85, 136}},
      {"gray 8-bit", {4, 1, kGray, 8, false, {9, 99, 199, 255}}, {}, 8, {9, 99, 199, 255}},
      {"gray 16-bit", {4, 1, kGray, 16, true, {1, 2, 3, 4, 5, 6, 250, 8}}, {}, 8, {1, 3, 5, 250}},
      {"gray 4-bit, a transparent level", {2, 1, kGray, 4, false, {0x5F}}, {0, 5}, 32,
       {0, 85, 85, 85, 255, 255, 255, 255}},
      {"gray with alpha", {3, 1, kGrayAlpha, 8, false, {10, 255, 20, 0, 30, 128}}, {}, 32,
       {255, 10, 10, 10, 0, 20, 20, 20, 128, 30, 30, 30}},
      {"gray with alpha 16-bit interlaced", {2, 1, kGrayAlpha, 16, true, {0xAB, 0, 0xFF, 0xFF, 0x12, 0, 0, 0}}, {},
       32, {0xFF, 0xAB, 0xAB, 0xAB, 0, 0x12, 0x12, 0x12}},
      {"palette 4-bit: indices", {5, 1, kPalette, 4, false, {0x01, 0x23, 0x40}}, {}, 8, {0, 1, 2, 3, 4}},
      {"palette 4-bit interlaced with transparent entries", {5, 1, kPalette, 4, true, {0x01, 0x23, 0x40}}, {0, 128},
       8, {0, 1, 2, 3, 4}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.picture.colour_type == kPalette) c.picture.palette = palette;
    c.picture.trns = c.trns;
    ASSERT_EQ(Write(c.picture), ReadOutcome::kDecoded);
    EXPECT_EQ(buffer_.bits_per_pixel(), c.bits);
    ExpectBytes(c.want);
    if (c.picture.colour_type == kPalette) {
      ASSERT_EQ(buffer_.palette_count(), 5);
      const PaletteEntry& entry = buffer_.palette()[4];
      EXPECT_EQ(entry.red, 100);
      EXPECT_EQ(entry.blue, 120);
      PngReader reader;  // the entries' alphas, beside the palette
      ASSERT_TRUE(reader.Open(path_.c_str()));
      ASSERT_EQ(reader.description().palette_alpha_count, static_cast<int32_t>(c.trns.size()));
      for (size_t i = 0; i < c.trns.size(); ++i) EXPECT_EQ(reader.description().palette_alpha[i], c.trns[i]);
    } else {
      EXPECT_EQ(buffer_.palette_count(), 0);
    }
  }
}

TEST_F(PngReaderTest, CorrectsGammaForADisplayOfTwoPointTwo) {
  PngPicture picture{3, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0, 128, 255}};
  picture.file_gamma = 1.0;  // linear samples: brightened for the display
  ASSERT_EQ(Write(picture), ReadOutcome::kDecoded);
  const int expected = static_cast<int>(std::lround(255 * std::pow(128 / 255.0, 1 / 2.2)));
  EXPECT_NEAR(buffer_.pixels()[1], expected, 1);
  EXPECT_EQ(buffer_.pixels()[0], 0);
  EXPECT_EQ(buffer_.pixels()[2], 255);
  picture.file_gamma = 0.45455;  // already encoded for the display: unchanged
  ASSERT_EQ(Write(picture), ReadOutcome::kDecoded);
  EXPECT_EQ(buffer_.pixels()[1], 128);
}

TEST_F(PngReaderTest, RefusesOtherFilesAndFailsCutOnes) {
  ASSERT_TRUE(WriteFileBytes(path_, std::string("\x89PNG\r\n\x1a\n", 8)));
  EXPECT_EQ(Read(path_), ReadOutcome::kRefused) << "a signature alone";
  ASSERT_TRUE(WriteFileBytes(path_, std::string("\xFF\xD8\xFF\xE0", 4)));
  EXPECT_EQ(Read(path_), ReadOutcome::kRefused);
  EXPECT_EQ(Read(folder_.path()), ReadOutcome::kRefused);

  const Pixels noise = MakeGradient(64, 64, 3);
  ASSERT_TRUE(WritePngFile(path_, PngPicture{64, 64, PNG_COLOR_TYPE_RGB, 8, false, noise.samples}));
  const std::string whole = ReadFileBytes(path_);
  for (size_t keep : {whole.size() / 2, whole.size() - 13, whole.size() - 1}) {
    ASSERT_TRUE(WriteFileBytes(path_, whole.substr(0, keep)));
    EXPECT_EQ(Read(path_), ReadOutcome::kDecodeFailed) << "cut to " << keep << " of " << whole.size();
  }
  std::string corrupt = whole;
  corrupt[whole.size() / 2] ^= 0x55;  // inside the image data: CRC or inflate error
  ASSERT_TRUE(WriteFileBytes(path_, corrupt));
  EXPECT_EQ(Read(path_), ReadOutcome::kDecodeFailed);
}

TEST_F(PngReaderTest, RefusesPicturesBeyondThePixelLimit) {
  PngPicture bomb{20000, 20000, PNG_COLOR_TYPE_RGB, 8, false, {}};
  bomb.header_only = true;
  EXPECT_EQ(Write(bomb), ReadOutcome::kRefused) << "20000x20000 exceeds 2^28 pixels";
  bomb.width = 1;
  bomb.height = 0x7FFFFF00;
  EXPECT_EQ(Write(bomb), ReadOutcome::kRefused) << "a side beyond the user limit";
}

// Every valid PngSuite picture decodes to what libpng's own simplified
// reader makes of it (opaque pixels; gamma handling differs slightly). That
// reader takes 16-bit samples without gamma information as linear light,
// this one as display-ready; such files are only checked to decode.
TEST_F(PngReaderTest, DecodesThePngSuite) {
  const std::string folder = std::string(TULVEX_TEST_IMAGES_DIR);
  if (folder.empty()) GTEST_SKIP() << "no test pictures configured";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder + "/pngsuite")) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".png") continue;
    SCOPED_TRACE(name);
    const ReadOutcome outcome = Read(entry.path().string());
    if (name[0] == 'x') {
      EXPECT_NE(outcome, ReadOutcome::kDecoded) << "a corrupt file";
      continue;
    }
    ASSERT_EQ(outcome, ReadOutcome::kDecoded);
    const std::string bytes = ReadFileBytes(entry.path().string());
    const bool has_gamma = bytes.find("gAMA") != std::string::npos || bytes.find("sRGB") != std::string::npos;
    if (name.find("16") != std::string::npos && !has_gamma) continue;
    Pixels reference;
    ASSERT_TRUE(ReadPngAsRgba(entry.path().string(), &reference));
    ASSERT_EQ(buffer_.width(), reference.width);
    ASSERT_EQ(buffer_.height(), reference.height);
    PictureBuffer rgb;
    ASSERT_TRUE(buffer_.ConvertInto(rgb, 24, nullptr));
    const Pixels have = PixelsOfBuffer(rgb);
    int worst = 0;
    for (int y = 0; y < have.height; ++y)
      for (int x = 0; x < have.width; ++x)
        for (int c = 0; c < 3 && reference.at(x, y, 3) == 255; ++c)
          worst = std::max(worst, std::abs(have.at(x, y, c) - reference.at(x, y, c)));
    // The display gamma of 2.2 and the sRGB curve differ by a few levels in
    // the darkest tones.
    EXPECT_LE(worst, 10) << "largest difference to libpng's decode";
    ++checked;
  }
  EXPECT_GT(checked, 20);
}
