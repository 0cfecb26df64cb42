// Replays every hostile file kept in tests/crashers through the whole
// loader: each must give its one expected result (most are refused, a few
// are odd but sound pictures), with no sanitizer report and no backing file
// left behind. A file added to the folder needs its line in the table.
#include "imaging/picture_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/temporary_files.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLoaded = kLoaderAccepted;
constexpr int kRefused = kLoaderNoReader;

// File name -> the loader's result.
const std::map<std::string, int> kExpectedResults = {
    {"bmp-1.4-gigapixel.bmp", kRefused},
    {"bmp-cut-in-pixel-rows.bmp", kRefused},
    {"bmp-height-int-min.bmp", kRefused},
    {"bmp-negative-width.bmp", kRefused},
    {"bmp-offset-beyond-file.bmp", kRefused},
    {"bmp-rle-67-million-rows-in-86-bytes.bmp", kRefused},
    {"bmp-width-wraps-row-size.bmp", kRefused},
    // Primaries the library does not know are kept as they are.
    {"heif-nclx-unknown-primaries.avif", kLoaded},
    {"jpeg-65500-square-header.jpg", kRefused},
    {"jpeg-8000-square-ends-early.jpg", kRefused},
    {"jpeg-progressive-3000-scans.jpg", kRefused},
    {"jpeg-progressive-65500-square-header.jpg", kRefused},
    {"pcx-8bit-shorter-than-palette.pcx", kRefused},
    {"pcx-bytes-per-line-below-width.pcx", kRefused},
    {"pcx-bytes-per-line-zero.pcx", kRefused},
    {"pcx-data-ends-early.pcx", kRefused},
    {"pcx-huge-claim-tiny-data.pcx", kRefused},
    // A run may go on into the next line.
    {"pcx-run-across-line-end.pcx", kLoaded},
    {"pcx-xmax-below-xmin.pcx", kRefused},
    {"png-20000-square-tiny-data.png", kRefused},
    {"png-interlaced-cut-after-first-row.png", kRefused},
};

TEST(Crashers, EveryKeptFileGivesItsResult) {
  std::map<std::string, std::string> paths;  // file name -> path, in name order
  std::error_code error;
  for (fs::directory_iterator it(TULVEX_CRASHERS_DIR, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file()) paths[it->path().filename().string()] = it->path().string();
  ASSERT_FALSE(error) << "cannot list " << TULVEX_CRASHERS_DIR << ": " << error.message();
  for (const auto& [name, result] : kExpectedResults) EXPECT_EQ(paths.count(name), 1u) << name << " is missing";

  TemporaryFileWatch watch;
  for (const auto& [name, path] : paths) {
    SCOPED_TRACE(name);
    const auto expected = kExpectedResults.find(name);
    EXPECT_NE(expected, kExpectedResults.end()) << "no expected result for " << name;
    PictureBuffer buffer;
    PictureLoader loader;
    const int result = loader.Load(path.c_str(), &buffer);
    if (expected != kExpectedResults.end()) {
      EXPECT_EQ(result, expected->second);
    }
    if (result == kLoaded) {
      EXPECT_TRUE(buffer.allocated());
      EXPECT_GE(buffer.width(), 1);
      EXPECT_GE(buffer.height(), 1);
    }
    buffer.Release();
    EXPECT_EQ(watch.Leftovers(), "") << "backing files left behind";
  }
}

}  // namespace
