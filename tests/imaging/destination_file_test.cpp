// DestinationFile: the destination changes only on a successful commit, and
// no temporary file stays in its folder either way.
#include "imaging/destination_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/support/scratch_folder.h"

namespace {

// Names in `folder`, space separated, sorted.
std::string FolderListing(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  std::string listing;
  for (const std::string& name : names) listing += (listing.empty() ? "" : " ") + name;
  return listing;
}

bool WriteAll(FILE* stream, const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

}  // namespace

TEST(DestinationFile, CommitReplacesTheDestinationAndLeavesNothingElse) {
  ScratchFolder folder("destination_commit");
  const std::string path = folder.File("out.jpg");
  for (const char* content : {"first", "second, longer than the first"}) {
    DestinationFile file;
    ASSERT_TRUE(file.Create(path.c_str()));
    ASSERT_NE(file.stream(), nullptr);
    ASSERT_TRUE(WriteAll(file.stream(), content));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(path), content);
    EXPECT_EQ(FolderListing(folder.path()), "out.jpg");
  }
}

TEST(DestinationFile, AbandonedOrFailedFilesLeaveTheDestinationAsItWas) {
  ScratchFolder folder("destination_abandon");
  const std::string path = folder.File("out.jpg");
  ASSERT_TRUE(WriteFileBytes(path, "original"));
  {
    DestinationFile file;
    ASSERT_TRUE(file.Create(path.c_str()));
    ASSERT_TRUE(WriteAll(file.stream(), "half a pic"));
    EXPECT_NE(FolderListing(folder.path()), "out.jpg") << "the bytes go to a temporary file first";
    file.Abandon();
    EXPECT_FALSE(file.Commit()) << "nothing left to commit after Abandon";
  }
  {
    DestinationFile file;  // the destructor abandons too
    ASSERT_TRUE(file.Create(path.c_str()));
    ASSERT_TRUE(WriteAll(file.stream(), "half a pic"));
  }
  EXPECT_EQ(ReadFileBytes(path), "original");
  EXPECT_EQ(FolderListing(folder.path()), "out.jpg");

  // A folder in the destination's place cannot be replaced.
  const std::string directory = folder.File("taken");
  std::filesystem::create_directory(directory);
  DestinationFile file;
  ASSERT_TRUE(file.Create(directory.c_str()));
  ASSERT_TRUE(WriteAll(file.stream(), "data"));
  EXPECT_FALSE(file.Commit());
  EXPECT_TRUE(std::filesystem::is_directory(directory));
  EXPECT_EQ(FolderListing(folder.path()), "out.jpg taken");
}

TEST(DestinationFile, MissingFolderCreatesNothing) {
  ScratchFolder folder("destination_missing");
  DestinationFile file;
  EXPECT_FALSE(file.Create(folder.File("no such folder/out.jpg").c_str()));
  EXPECT_EQ(file.stream(), nullptr);
  EXPECT_FALSE(file.Commit());
  EXPECT_EQ(FolderListing(folder.path()), "");
  EXPECT_FALSE(file.Create(""));
}
