// The end-to-end driver checked against the layout stand-in: every control
// of the layout is found, menus open and their items are chosen by keys,
// both system dialogs are answered, rows are read across processes and
// selected by clicks, and screenshots are written. A driver fault shows
// here, not as a false failure of the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "tests/app/driver/main_window.h"
#include "tests/app/driver/user_input.h"
#include "tests/app/driver/window_search.h"
#include "tests/app/driver/picture_files.h"
#include "tests/support/scratch_folder.h"

namespace {

const char kCaption[] = "布局替身";

TEST(DriverOnStandIn, FindsTheControlsPicksTheModeAndTypes) {
  ProgramSession program(TULVEX_LAYOUT_STAND_IN, kCaption);
  ASSERT_EQ(program.error(), "");
  const MainWindowControls& c = program.controls();
  EXPECT_EQ(CaptionOf(c.quality), "100") << "the edit box near (296, 8) is the quality box";
  EXPECT_FALSE(IsWindowVisible(c.save_folder));
  ASSERT_TRUE(program.PickSaveMode("保存在：")) << program.error();
  EXPECT_TRUE(IsWindowVisible(c.save_folder) && IsWindowVisible(c.browse));
  ASSERT_TRUE(program.TypeInto(c.quality, "85")) << program.error();
  ASSERT_TRUE(program.TypeInto(c.save_folder, "C:\\输出")) << program.error();
  ASSERT_TRUE(program.PickSaveMode("覆盖原图")) << program.error();
  EXPECT_FALSE(IsWindowVisible(c.save_folder));
  EXPECT_TRUE(program.Responsive());
}

TEST(DriverOnStandIn, AddsFilesByDialogAndDeletesClickedRows) {
  ScratchFolder folder("driver_files");
  const std::string root = AbsolutePath(folder.path());
  const std::vector<std::string> names = {"a.bmp", "b;c.png", "图片.jpg", "d.bmp", "e.bmp"};
  for (const std::string& name : names) ASSERT_TRUE(WriteSmallBmp(root + "\\" + name, 4, 4));

  ProgramSession program(TULVEX_LAYOUT_STAND_IN, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.AddFiles(root, {names[0], names[1]})) << program.error();
  ASSERT_TRUE(program.AddFiles(root, {names[2], names[3], names[4]})) << program.error();
  JobRows rows = program.Rows();
  ASSERT_EQ(rows.size(), 5u) << program.error();
  // The dialog hands back its own order; every name must be there once.
  std::vector<std::string> paths;
  for (const auto& row : rows) paths.push_back(row[1]);
  for (const std::string& name : names) {
    EXPECT_EQ(std::count(paths.begin(), paths.end(), root + "\\" + name), 1) << name;
  }
  ASSERT_TRUE(program.SelectRows(1, 2)) << program.error();
  ASSERT_TRUE(program.Click(program.controls().remove));
  ASSERT_TRUE(WaitForCondition([&] { return program.RowCount() == 3; }, 5000)) << program.RowCount() << " rows left";
  rows = program.Rows();
  EXPECT_EQ(rows[0][0] + "," + rows[1][0] + "," + rows[2][0], "1,4,5");
}

TEST(DriverOnStandIn, AnswersTheFolderDialogsRunsAndTakesAPicture) {
  ScratchFolder folder("driver_folder");
  const std::string root = AbsolutePath(folder.path());
  ASSERT_TRUE(CreateDirectoryA((root + "\\源").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((root + "\\out").c_str(), nullptr));
  for (const char* name : {"1.bmp", "2.bmp", "3.bmp"}) ASSERT_TRUE(WriteSmallBmp(root + "\\源\\" + name, 4, 4));

  ProgramSession program(TULVEX_LAYOUT_STAND_IN, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.AddFolder(root + "\\源")) << program.error();
  EXPECT_EQ(program.Rows().size(), 3u);
  ASSERT_TRUE(program.PickSaveMode("保存在："));
  ASSERT_TRUE(program.BrowseSaveFolder(root + "\\out")) << program.error();
  ASSERT_TRUE(program.RunToEnd(20000)) << program.error();
  for (const auto& row : program.Rows()) EXPECT_EQ(row[2], "转换成功") << row[1];
  const std::string picture = std::string(TULVEX_SCREENSHOTS_DIR) + "\\stand_in_after_run.png";
  ASSERT_TRUE(SaveWindowPicture(program.controls().window, picture));
  EXPECT_EQ(ReadFileBytes(picture).substr(1, 3), "PNG");
}

}  // namespace
