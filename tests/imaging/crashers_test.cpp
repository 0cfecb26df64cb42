// Replays every hostile file kept in tests/crashers through the whole
// loader: each must end as a clean result, with no sanitizer report and no
// backing file left behind.
#include "imaging/picture_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temporary_files.h"

namespace fs = std::filesystem;

TEST(Crashers, EveryKeptFileLoadsCleanly) {
  std::vector<std::string> paths;
  std::error_code error;
  for (fs::directory_iterator it(TULVEX_CRASHERS_DIR, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file()) paths.push_back(it->path().string());
  ASSERT_FALSE(error) << "cannot list " << TULVEX_CRASHERS_DIR << ": " << error.message();
  ASSERT_FALSE(paths.empty()) << "no files in " << TULVEX_CRASHERS_DIR;
  std::sort(paths.begin(), paths.end());

  TemporaryFileWatch watch;
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    PictureBuffer buffer;
    PictureLoader loader;
    const int result = loader.Load(path.c_str(), &buffer);
    EXPECT_TRUE(result == 1 || result == -3) << "have " << result << ", want 1 or -3";
    if (result == 1) {
      EXPECT_TRUE(buffer.allocated());
      EXPECT_GE(buffer.width(), 1);
      EXPECT_GE(buffer.height(), 1);
    }
    buffer.Release();
    EXPECT_EQ(watch.Leftovers(), "") << "backing files left behind";
  }
}
