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

TEST_F(PngReaderTest, ReadsColourPicturesWithAndWithoutAlpha) {
  // 3x2 RGB, plain and interlaced: 24 bits as stored.
  const std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  for (bool interlaced : {false, true}) {
    ASSERT_EQ(Write(PngPicture{3, 2, PNG_COLOR_TYPE_RGB, 8, interlaced, rgb}), ReadOutcome::kDecoded);
    EXPECT_EQ(buffer_.bits_per_pixel(), 24);
    ExpectBytes(rgb);
  }
  // RGBA: the alpha byte moves in front.
  ASSERT_EQ(Write(PngPicture{2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {10, 20, 30, 40, 50, 60, 70, 80}}),
            ReadOutcome::kDecoded);
  EXPECT_EQ(buffer_.bits_per_pixel(), 32);
  ExpectBytes({40, 10, 20, 30, 80, 50, 60, 70});
  // 16-bit RGBA: the high bytes are kept.
  ASSERT_EQ(Write(PngPicture{1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, false, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}}),
            ReadOutcome::kDecoded);
  ExpectBytes({0xDE, 0x12, 0x56, 0x9A});
  // A transparent colour adds no alpha channel.
  PngPicture keyed{2, 1, PNG_COLOR_TYPE_RGB, 8, false, {1, 2, 3, 4, 5, 6}};
  keyed.trns = {0, 1, 0, 2};
  ASSERT_EQ(Write(keyed), ReadOutcome::kDecoded);
  EXPECT_EQ(buffer_.bits_per_pixel(), 24);
  ExpectBytes({1, 2, 3, 4, 5, 6});
}

TEST_F(PngReaderTest, ReadsGrayPicturesOfEveryDepthAsEightBitGray) {
  // One row of four pixels at each depth, expanded to the full 0..255 range.
  struct Case {
    int depth;
    std::vector<uint8_t> row;
    std::vector<uint8_t> want;
  } cases[] = {
      {1, {0xA0}, {255, 0, 255, 0}},
      {2, {0x1B}, {0, 85, 170, 255}},
      {4, {0x0F, 0x58}, {0, 255, 85, 136}},
      {8, {9, 99, 199, 255}, {9, 99, 199, 255}},
      {16, {1, 2, 3, 4, 5, 6, 250, 8}, {1, 3, 5, 250}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "depth " << c.depth);
    ASSERT_EQ(Write(PngPicture{4, 1, PNG_COLOR_TYPE_GRAY, c.depth, false, c.row}), ReadOutcome::kDecoded);
    EXPECT_EQ(buffer_.bits_per_pixel(), 8);
    EXPECT_EQ(buffer_.palette_count(), 0);
    ExpectBytes(c.want);
  }
  // Gray with alpha: the alpha is dropped so that rows fit one byte a pixel.
  ASSERT_EQ(Write(PngPicture{3, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {10, 255, 20, 0, 30, 128}}),
            ReadOutcome::kDecoded);
  EXPECT_EQ(buffer_.bits_per_pixel(), 8);
  ExpectBytes({10, 20, 30});
  ASSERT_EQ(Write(PngPicture{2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, true, {0xAB, 0, 0xFF, 0xFF, 0x12, 0, 0, 0}}),
            ReadOutcome::kDecoded);
  ExpectBytes({0xAB, 0x12});
}

TEST_F(PngReaderTest, ReadsPalettePicturesWithTheirPalette) {
  PngPicture picture{5, 1, PNG_COLOR_TYPE_PALETTE, 4, false, {0x01, 0x23, 0x40}};
  picture.palette = {0, 0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  picture.trns = {0, 128};  // transparency stays out of the picture
  ASSERT_EQ(Write(picture), ReadOutcome::kDecoded);
  EXPECT_EQ(buffer_.bits_per_pixel(), 8);
  ASSERT_EQ(buffer_.palette_count(), 5);
  ExpectBytes({0, 1, 2, 3, 4});
  const PaletteEntry& entry = buffer_.palette()[4];
  EXPECT_EQ(entry.red, 100);
  EXPECT_EQ(entry.green, 110);
  EXPECT_EQ(entry.blue, 120);
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
