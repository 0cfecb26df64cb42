// Every reader hands out strips of any height, top to bottom, with exactly
// the rows of its whole picture: heights that are no multiple of the strip,
// one-row pictures, and TIFF windows that end inside a strip.
#include "imaging/readers/picture_reader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "imaging/picture_loader.h"
#include "tests/support/library_format_files.h"
#include "tests/support/sample_pictures.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

TEST(PictureReader, StripsOfAnyHeightGiveTheRowsOfTheWholePicture) {
  ScratchFolder folder("picture_reader");
  TemporaryFileWatch watch;
  std::vector<std::string> paths = WriteSamplePictures(folder, "row-", 13, 1);
  for (const std::string& path : WriteSamplePictures(folder, "tall-", 13, 37)) paths.push_back(path);
  // Wide enough that a TIFF window (about 1 MiB of raster) holds fewer rows
  // than the picture.
  const std::string wide = folder.File("wide.tif");
  ASSERT_TRUE(WriteTiffFile(wide, MakeGradient(2048, 150, 3)));
  paths.push_back(wide);

  for (const std::string& path : paths) {
    PictureBuffer whole;
    PictureLoader loader;
    ASSERT_EQ(loader.Load(path.c_str(), &whole), 1) << path;
    for (int32_t strip : {1, 2, 3, 5, 16, whole.height()}) {
      SCOPED_TRACE(::testing::Message() << path << ", strips of " << strip << " rows");
      std::unique_ptr<PictureReader> reader;
      ASSERT_EQ(PictureLoader::OpenReader(path.c_str(), &reader), 1);
      const PictureDescription& picture = reader->description();
      ASSERT_EQ(picture.stride(), whole.stride());
      // One spare byte a row: rows must land at the stride asked for.
      const size_t stride = picture.stride() + 1;
      std::vector<uint8_t> rows(stride * static_cast<size_t>(strip));
      for (int32_t y = 0; y < picture.height; y += strip) {
        const int32_t count = std::min(strip, picture.height - y);
        ASSERT_TRUE(reader->ReadRows(rows.data(), stride, count)) << "rows from " << y;
        for (int32_t i = 0; i < count; ++i)
          ASSERT_EQ(std::memcmp(rows.data() + i * stride, whole.row(y + i), whole.stride()), 0) << "row " << y + i;
      }
      EXPECT_FALSE(reader->ReadRows(rows.data(), stride, 1)) << "a row past the end";
    }
  }
  EXPECT_EQ(watch.Leftovers(), "") << "backing files left behind";
}

// Decodes that take the whole picture before the first row (a progressive
// JPEG inside libjpeg, an interlaced PNG's passes) look at the cancel
// request as they go, and a cancelled read is a failed one.
TEST(PictureReader, WholePictureDecodesStopOnCancel) {
  ScratchFolder folder("picture_reader_cancel");
  const Pixels rgb = MakeGradient(64, 48, 3);
  JpegSettings progressive;
  progressive.progressive = true;
  ASSERT_TRUE(WriteJpegFile(folder.File("progressive.jpg"), rgb, progressive));
  ASSERT_TRUE(WritePngFile(folder.File("interlaced.png"), PngPicture{64, 48, PNG_COLOR_TYPE_RGB, 8, true, rgb.samples}));
  for (const char* name : {"progressive.jpg", "interlaced.png"}) {
    for (int32_t flag : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << name << ", cancel flag " << flag);
      std::unique_ptr<PictureReader> reader;
      ASSERT_EQ(PictureLoader::OpenReader(folder.File(name).c_str(), &reader, CancelRequest(&flag)), 1);
      std::vector<uint8_t> row(reader->description().stride());
      EXPECT_EQ(reader->ReadRows(row.data(), row.size(), 1), flag == 0);
    }
  }
}
