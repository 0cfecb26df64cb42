// What the program decides from files on the disk: which spellings name one
// file (rows that must not convert together), and which listed files the
// shell may open.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/file_keys_win.h"
#include "app/view_file.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"

namespace tulvex {
namespace {

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  return std::string(full, GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr));
}

std::string ShortPath(const std::string& path) {
  char short_path[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), short_path, MAX_PATH);
  return std::string(short_path, length < MAX_PATH ? length : 0);
}

bool ShareAKey(const std::string& a, const std::string& b) {
  const std::vector<std::string> keys_a = FileKeysOf(a), keys_b = FileKeysOf(b);
  return std::any_of(keys_a.begin(), keys_a.end(), [&](const std::string& key) {
    return std::find(keys_b.begin(), keys_b.end(), key) != keys_b.end();
  });
}

class FileRulesTest : public testing::Test {
 protected:
  ScratchFolder scratch_{"file_rules"};
  std::string root_ = FullPath(scratch_.path());
};

TEST_F(FileRulesTest, SpellingsOfOneFileShareAKeyAndOtherFilesDoNot) {
  const std::string picture = root_ + "\\Long Picture Name.bmp";
  const std::string folder = root_ + "\\Output Folder";
  ASSERT_TRUE(WriteFileBytes(picture, "BM") && WriteFileBytes(root_ + "\\other.bmp", "BM"));
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateHardLinkA((root_ + "\\linked.bmp").c_str(), picture.c_str(), nullptr))
      << "error " << GetLastError();
  const std::string short_picture = ShortPath(picture), short_folder = ShortPath(folder);
  ASSERT_NE(short_picture, picture) << "no 8.3 name to test with";
  ASSERT_NE(short_folder, folder);

  const struct {
    std::string a, b;
    bool same;
  } cases[] = {
      {picture, root_ + "\\LONG PICTURE NAME.BMP", true},
      {picture, root_ + "\\Output Folder\\..\\Long Picture Name.bmp", true},
      {picture, root_ + "/Long Picture Name.bmp", true},
      {picture, short_picture, true},
      {picture, root_ + "\\linked.bmp", true},
      // A destination not written yet, its folder spelled in 8.3 form.
      {folder + "\\1_a.jpg", short_folder + "\\1_A.JPG", true},
      {picture, root_ + "\\other.bmp", false},
      {root_ + "\\a.bmp", root_ + "\\a.bmp.jpg", false},
  };
  for (const auto& test : cases) EXPECT_EQ(ShareAKey(test.a, test.b), test.same) << test.a << " / " << test.b;
}

TEST_F(FileRulesTest, TheShellOpensOnlyPicturesItWouldNotRun) {
  const std::string bmp = MakeBmp(4, 3, std::vector<uint8_t>(36, 128));
  const struct {
    const char* name;
    std::string content;
    ViewAction want;
  } cases[] = {
      {"a.bmp", bmp, ViewAction::kOpenFile},
      {"photo", bmp, ViewAction::kOpenFile},  // content decides, not the name
      {"notes.txt", "not a picture", ViewAction::kShowInFolder},
      {"tool.exe", "MZ", ViewAction::kShowInFolder},
      {"picture.exe", bmp, ViewAction::kShowInFolder},  // a picture header that the shell would run
      {"PICTURE.CMD", bmp, ViewAction::kShowInFolder},
      {"picture.js.", bmp, ViewAction::kShowInFolder},
  };
  for (const auto& test : cases) {
    ASSERT_TRUE(WriteFileBytes(root_ + "\\" + test.name, test.content)) << test.name;
    EXPECT_EQ(ViewActionOf(root_ + "\\" + test.name), test.want) << test.name;
  }
  EXPECT_EQ(ViewActionOf(root_ + "\\missing.bmp"), ViewAction::kShowInFolder);
}

}  // namespace
}  // namespace tulvex
