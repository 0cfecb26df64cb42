// The loader's existence test.
#include "imaging/path_probe.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

TEST(PathProbe, FilesAndFoldersExistMissingPathsDoNot) {
  ScratchFolder folder("path_probe");
  ASSERT_TRUE(WriteFileBytes(folder.File("a.bin"), "x"));
  EXPECT_TRUE(PathExists(folder.File("a.bin").c_str()));
  EXPECT_TRUE(PathExists(folder.path().c_str()));
  EXPECT_FALSE(PathExists(folder.File("missing.bin").c_str()));
  EXPECT_FALSE(PathExists(""));
  EXPECT_FALSE(PathExists(nullptr));
}
