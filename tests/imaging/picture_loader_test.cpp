// PictureLoader: formats recognised by content in the fixed reader order,
// the -1 / -3 outcomes, and files and backing files released afterwards.
#include "imaging/picture_loader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>

#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

class PictureLoaderTest : public ::testing::Test {
 protected:
  // Loads `path`, then checks that no reader still holds the file: on
  // Windows an open handle would make the delete fail.
  int LoadAndDelete(const std::string& path) {
    PictureLoader loader;
    const int result = loader.Load(path.c_str(), &buffer_);
    EXPECT_EQ(std::remove(path.c_str()), 0) << path << " still held after Load";
    return result;
  }
  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"picture_loader"};
  PictureBuffer buffer_;
};

}  // namespace

TEST_F(PictureLoaderTest, RecognisesEveryFormatByContent) {
  const Pixels rgb = MakeGradient(9, 6, 3);
  // Every file gets a misleading name: the content decides.
  const std::string path = folder_.File("picture.gif");

  ASSERT_TRUE(WriteJpegFile(path, rgb, JpegSettings{}));
  ASSERT_EQ(LoadAndDelete(path), 1);
  EXPECT_EQ(buffer_.bits_per_pixel(), 24);

  ASSERT_TRUE(WriteJpegFile(path, MakeGradient(9, 6, 1), JpegSettings{}));
  ASSERT_EQ(LoadAndDelete(path), 1);
  EXPECT_EQ(buffer_.bits_per_pixel(), 8);

  ASSERT_TRUE(WriteFileBytes(path, MakeBmp(9, 6, rgb.samples)));
  ASSERT_EQ(LoadAndDelete(path), 1);
  EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer_), rgb, 0), "") << "BMP";

  ASSERT_TRUE(WriteTiffFile(path, rgb));
  ASSERT_EQ(LoadAndDelete(path), 1);
  EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer_), rgb, 0), "") << "TIFF";

  ASSERT_TRUE(WritePngFile(path, PngPicture{9, 6, PNG_COLOR_TYPE_RGB, 8, false, rgb.samples}));
  ASSERT_EQ(LoadAndDelete(path), 1);
  EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer_), rgb, 0), "") << "PNG";

  std::vector<uint8_t> indices(54), palette(768);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 3);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(255 - i / 3);
  ASSERT_TRUE(WriteFileBytes(path, MakePcx8(9, 6, indices, palette)));
  ASSERT_EQ(LoadAndDelete(path), 1);
  EXPECT_EQ(buffer_.palette_count(), 256) << "PCX";
}

TEST_F(PictureLoaderTest, MissingUnknownAndBrokenFiles) {
  PictureLoader loader;
  EXPECT_EQ(loader.Load(folder_.File("missing.jpg").c_str(), &buffer_), -1);
  EXPECT_EQ(loader.Load("", &buffer_), -1);
  EXPECT_EQ(loader.Load(folder_.path().c_str(), &buffer_), -3) << "a folder";

  const std::string path = folder_.File("picture.jpg");
  ASSERT_TRUE(WriteFileBytes(path, ""));
  EXPECT_EQ(LoadAndDelete(path), -3) << "an empty file";
  ASSERT_TRUE(WriteFileBytes(path, std::string("GIF89a\x09\x00\x06\x00\xF0\x00\x00", 13) + std::string(200, '\0')));
  EXPECT_EQ(LoadAndDelete(path), -3) << "GIF";
  ASSERT_TRUE(WriteJpegFile(path, MakeGradient(16, 16, 4), JpegSettings{}));
  EXPECT_EQ(LoadAndDelete(path), -3) << "CMYK JPEG: no reader takes it";

  // An accepted file that fails to decode is not handed to later readers.
  ASSERT_TRUE(WriteJpegFile(path, MakeGradient(64, 64, 3), JpegSettings{}));
  const std::string whole = ReadFileBytes(path);
  ASSERT_TRUE(WriteFileBytes(path, whole.substr(0, whole.size() / 2)));
  EXPECT_EQ(LoadAndDelete(path), -3) << "truncated JPEG";
  ASSERT_TRUE(WritePngFile(path, PngPicture{64, 64, PNG_COLOR_TYPE_RGB, 8, false, MakeGradient(64, 64, 3).samples}));
  const std::string png = ReadFileBytes(path);
  ASSERT_TRUE(WriteFileBytes(path, png.substr(0, png.size() / 2)));
  EXPECT_EQ(LoadAndDelete(path), -3) << "truncated PNG";
}
