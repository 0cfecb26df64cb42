// The Photo CD reader: the colour formula on known luma and chroma values,
// the layout of row pairs, and files that are not image pacs.
#include "imaging/readers/pcd_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "imaging/picture_loader.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

// The conversion worked out directly from the formula, pixel by pixel.
void ExpectedColour(int luma, int chroma1, int chroma2, int out[3]) {
  const double y = luma, c1 = chroma1 - 156, c2 = chroma2 - 137;
  const double rgb[3] = {1.407488 * y + 1.3230336 * c2 + 0.0000256 * c1,
                         1.407488 * y - (0.67392 * c2 + 0.3954176 * c1),
                         1.407488 * y + 0.0000256 * c2 + 2.0360448 * c1};
  for (int i = 0; i < 3; ++i) out[i] = static_cast<int>(std::fmin(255, std::fmax(0, std::floor(rgb[i] + 0.5))));
}

struct Planes {
  std::vector<uint8_t> luma, c1, c2;
};

Planes MakePlanes(int resolution, uint8_t luma_base) {
  const size_t width = PcdReader::WidthOf(resolution), height = PcdReader::HeightOf(resolution);
  Planes planes;
  planes.luma.resize(width * height);
  planes.c1.resize(width * height / 4);
  planes.c2.resize(width * height / 4);
  for (size_t i = 0; i < planes.luma.size(); ++i) planes.luma[i] = static_cast<uint8_t>(luma_base + i * 7 + i / width);
  for (size_t i = 0; i < planes.c1.size(); ++i) {
    planes.c1[i] = static_cast<uint8_t>(i * 11);
    planes.c2[i] = static_cast<uint8_t>(255 - i * 5 - i / 100);
  }
  return planes;
}

class PcdReaderTest : public ::testing::Test {
 protected:
  ReadOutcome Read(const std::string& bytes, int resolution = 2) {
    EXPECT_TRUE(WriteFileBytes(path_, bytes));
    PcdReader reader(resolution);
    return ReadThrough(reader, path_, &buffer_);
  }
  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"pcd_reader"};
  std::string path_ = folder_.File("picture.pcd");
  PictureBuffer buffer_;
};

}  // namespace

TEST_F(PcdReaderTest, NeutralChromaGivesScaledGray) {
  // Y = 100 with C1 = 156 and C2 = 137 is 140.7488 in every channel: 141.
  Planes planes = MakePlanes(2, 0);
  std::fill(planes.luma.begin(), planes.luma.end(), 100);
  std::fill(planes.c1.begin(), planes.c1.end(), 156);
  std::fill(planes.c2.begin(), planes.c2.end(), 137);
  ASSERT_EQ(Read(MakePcd(2, planes.luma, planes.c1, planes.c2)), ReadOutcome::kDecoded);
  ASSERT_EQ(buffer_.width(), 768);
  ASSERT_EQ(buffer_.height(), 512);
  ASSERT_EQ(buffer_.bits_per_pixel(), 24);
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 768 * 3; ++x) ASSERT_EQ(buffer_.row(y)[x], 141) << "byte " << x << " of row " << y;
}

TEST_F(PcdReaderTest, EveryResolutionMatchesTheColourFormula) {
  for (int resolution : {0, 1, 2}) {
    const Planes planes = MakePlanes(resolution, static_cast<uint8_t>(resolution * 40));
    ASSERT_EQ(Read(MakePcd(resolution, planes.luma, planes.c1, planes.c2), resolution), ReadOutcome::kDecoded);
    const int32_t width = PcdReader::WidthOf(resolution), height = PcdReader::HeightOf(resolution);
    ASSERT_EQ(buffer_.width(), width);
    ASSERT_EQ(buffer_.height(), height);
    size_t clamped = 0;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        const size_t chroma = static_cast<size_t>(y / 2) * (width / 2) + x / 2;
        int want[3];
        ExpectedColour(planes.luma[static_cast<size_t>(y) * width + x], planes.c1[chroma], planes.c2[chroma], want);
        for (int c = 0; c < 3; ++c) {
          clamped += want[c] == 0 || want[c] == 255;
          ASSERT_EQ(buffer_.row(y)[x * 3 + c], want[c])
              << "resolution " << resolution << ", pixel " << x << "," << y << ", channel " << c;
        }
      }
    EXPECT_GT(clamped, 0u) << "the pattern should reach the clamping too";
  }
}

TEST_F(PcdReaderTest, OnlyLargeFilesMarkedAsImagePacsAreOpened) {
  const Planes planes = MakePlanes(2, 0);
  const std::string pac = MakePcd(2, planes.luma, planes.c1, planes.c2);
  std::string unmarked = pac;
  unmarked[2048] = 'X';
  EXPECT_EQ(Read(unmarked), ReadOutcome::kRefused) << "a large file without the mark";
  EXPECT_EQ(Read(pac.substr(0, PcdReader::kSmallestPacSize)), ReadOutcome::kRefused);
  EXPECT_EQ(Read(pac.substr(0, PcdReader::kSmallestPacSize + 1)), ReadOutcome::kDecoded);
  EXPECT_EQ(Read(pac.substr(0, 2050)), ReadOutcome::kRefused);
}

TEST_F(PcdReaderTest, AFileCutAfterOpeningFailsTheDecode) {
  const Planes planes = MakePlanes(2, 0);
  ASSERT_TRUE(WriteFileBytes(path_, MakePcd(2, planes.luma, planes.c1, planes.c2)));
  PcdReader reader;
  ASSERT_TRUE(reader.Open(path_.c_str()));
  // Cut inside the image data, below what the size test at opening allows.
  std::error_code error;
  std::filesystem::resize_file(path_, 0x30000 + 1000, error);
  if (error) GTEST_SKIP() << "the open file cannot be shortened here: " << error.message();
  EXPECT_FALSE(ReadWholePictureInto(reader, &buffer_));
}
