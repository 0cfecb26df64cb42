// TiffReader: gray, RGB and RGBA files made with libtiff, the row order of
// the RGBA raster, hostile sizes, and libtiff's own test pictures checked
// against the Netpbm copies that come with them.
#include "imaging/readers/tiff_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

class TiffReaderTest : public ::testing::Test {
 protected:
  ReadOutcome Read(const std::string& path) {
    TiffReader reader;
    return ReadThrough(reader, path, &buffer_);
  }
  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"tiff_reader"};
  std::string path_ = folder_.File("picture.tif");
  PictureBuffer buffer_;
};

Pixels Rgb(const Pixels& pixels) {
  Pixels rgb{pixels.width, pixels.height, 3, {}};
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      for (int c = 0; c < 3; ++c) rgb.samples.push_back(pixels.at(x, y, pixels.components == 1 ? 0 : c));
  return rgb;
}

}  // namespace

TEST_F(TiffReaderTest, ReadsGrayRgbAndRgbaTopRowFirst) {
  for (int components : {1, 3, 4}) {
    SCOPED_TRACE(::testing::Message() << components << " samples a pixel");
    // Odd sizes, so that a row swap that misses the middle row shows.
    const Pixels pixels = MakeGradient(7, 5, components);
    ASSERT_TRUE(WriteTiffFile(path_, pixels));
    ASSERT_EQ(Read(path_), ReadOutcome::kDecoded);
    EXPECT_EQ(buffer_.bits_per_pixel(), 24);
    Pixels want = Rgb(pixels);
    if (components == 4) {
      // Unassociated alpha of 200 and less: libtiff premultiplies it.
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
          for (int c = 0; c < 3; ++c) {
            const int alpha = pixels.at(x, y, 3);
            want.samples[(static_cast<size_t>(y) * 7 + x) * 3 + c] =
                static_cast<uint8_t>((pixels.at(x, y, c) * alpha + 127) / 255);
          }
    }
    EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer_), want, components == 4 ? 1 : 0), "");
  }
}

TEST_F(TiffReaderTest, RefusesOtherFilesAndFailsDamagedOnes) {
  ASSERT_TRUE(WriteFileBytes(path_, "II*\0"));
  EXPECT_EQ(Read(path_), ReadOutcome::kRefused);
  ASSERT_TRUE(WriteFileBytes(path_, "BM not a tiff at all"));
  EXPECT_EQ(Read(path_), ReadOutcome::kRefused);
  EXPECT_EQ(Read(folder_.path()), ReadOutcome::kRefused);

  ASSERT_TRUE(WriteTiffFile(path_, MakeGradient(300, 300, 3)));
  const std::string whole = ReadFileBytes(path_);
  // libtiff writes the directory after the strips: cut into the strips by
  // zeroing them instead, which LZW cannot decode.
  std::string damaged = whole;
  for (size_t i = 16; i < whole.size() / 2; ++i) damaged[i] = '\xFF';
  ASSERT_TRUE(WriteFileBytes(path_, damaged));
  EXPECT_EQ(Read(path_), ReadOutcome::kDecodeFailed);
}

TEST_F(TiffReaderTest, RefusesSizesBeyondTheLimitBeforeAllocating) {
  // A tiny file whose directory claims 65500x65500 pixels.
  Pixels pixels = MakeGradient(4, 4, 3);
  ASSERT_TRUE(WriteTiffFile(path_, pixels));
  std::string bytes = ReadFileBytes(path_);
  // Patch the width and length entries (tags 256, 257 as LONG or SHORT).
  bool patched = false;
  for (size_t at = 8; at + 12 <= bytes.size(); ++at) {
    const int tag = static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
    const int type = static_cast<uint8_t>(bytes[at + 2]) | static_cast<uint8_t>(bytes[at + 3]) << 8;
    const bool count_one = bytes.compare(at + 4, 4, std::string("\x01\0\0\0", 4)) == 0;
    if ((tag == 256 || tag == 257) && (type == 3 || type == 4) && count_one) {
      bytes[at + 8] = static_cast<char>(0xDC);
      bytes[at + 9] = static_cast<char>(0xFF);
      patched = true;
    }
  }
  ASSERT_TRUE(patched);
  ASSERT_TRUE(WriteFileBytes(path_, bytes));
  EXPECT_EQ(Read(path_), ReadOutcome::kRefused);
}

// libtiff's test pictures: the 8-bit ones decode exactly to their Netpbm
// twins; every other file either decodes or is refused, without crashing.
TEST_F(TiffReaderTest, ReadsLibtiffTestPictures) {
  const std::string folder = std::string(TULVEX_TEST_IMAGES_DIR);
  if (folder.empty()) GTEST_SKIP() << "no test pictures configured";
  const std::string tiff = folder + "/tiff/";
  for (const char* name : {"rgb-3c-8b", "minisblack-1c-8b"}) {
    SCOPED_TRACE(name);
    Pixels twin;
    ASSERT_TRUE(ReadNetpbm(tiff + name + (name[0] == 'r' ? ".ppm" : ".pgm"), &twin));
    ASSERT_EQ(Read(tiff + name + ".tiff"), ReadOutcome::kDecoded);
    EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer_), Rgb(twin), 0), "");
  }
  int decoded = 0;
  for (const auto& entry : std::filesystem::directory_iterator(tiff)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".tif" && extension != ".tiff") continue;
    SCOPED_TRACE(entry.path().filename().string());
    if (Read(entry.path().string()) == ReadOutcome::kDecoded) {
      ++decoded;
      EXPECT_GT(buffer_.width(), 0);
    }
  }
  EXPECT_GE(decoded, 15);
}
