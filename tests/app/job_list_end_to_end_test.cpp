// The job list used through the program's windows: rows come in through the
// open-file dialog and the folder dialog, leave through the delete and clear
// buttons, and are numbered by the row count at the time they were added.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>

#include "tests/app/driver/main_window.h"
#include "tests/app/driver/picture_files.h"
#include "tests/app/driver/settings_file.h"
#include "tests/app/driver/system_dialogs.h"
#include "tests/app/driver/user_input.h"
#include "tests/support/scratch_folder.h"

namespace {

const char kCaption[] = "Tulvex V3.0 免费版";

std::vector<std::string> Column(const JobRows& rows, size_t column) {
  std::vector<std::string> cells;
  for (const auto& row : rows) cells.push_back(row.at(column));
  return cells;
}

std::set<std::string> PathsIn(const std::string& folder, const std::vector<std::string>& names) {
  std::set<std::string> paths;
  for (const std::string& name : names) paths.insert(folder + "\\" + name);
  return paths;
}

class JobListEndToEnd : public testing::Test {
 protected:
  void SetUp() override { RemoveSettingsFile(); }
};

TEST_F(JobListEndToEnd, NumbersFollowTheRowCountAcrossAddsAndDeletes) {
  ScratchFolder scratch("list_numbers");
  const std::string root = AbsolutePath(scratch.path());
  const std::vector<std::string> names = {"a.bmp", "b.bmp", "c.bmp", "d.png", "图片e.bmp", "f.bmp"};
  for (const std::string& name : names) ASSERT_TRUE(WriteSmallBmp(root + "\\" + name, 4, 4)) << name;

  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.AddFiles(root, {names[0], names[1]})) << program.error();
  ASSERT_TRUE(program.AddFiles(root, {names[2], names[3], names[4]})) << program.error();
  JobRows rows = program.Rows();
  ASSERT_EQ(rows.size(), 5u) << program.error();
  EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  // The three chosen together are rows 3 to 5, in the dialog's order.
  const std::vector<std::string> added = Column(JobRows(rows.begin() + 2, rows.end()), 1);
  EXPECT_EQ(std::set<std::string>(added.begin(), added.end()), PathsIn(root, {names[2], names[3], names[4]}));
  for (const auto& row : rows) EXPECT_EQ(row[2], "") << "a new row has no status";

  ASSERT_TRUE(program.SelectRows(1, 2)) << program.error();
  ASSERT_TRUE(program.Click(program.controls().remove));
  ASSERT_TRUE(program.AddFiles(root, {names[5]})) << program.error();
  rows = program.Rows();
  EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"1", "4", "5", "4"}))
      << "numbers are never rewritten; a new row takes the count after its insertion";
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3][1], root + "\\" + names[5]);
}

TEST_F(JobListEndToEnd, FolderScanTakesEveryFileBelowButDotFoldersOwnFilesLast) {
  ScratchFolder scratch("list_scan");
  const std::string root = AbsolutePath(scratch.path()) + "\\源图";
  for (const std::string& folder : {root, root + "\\sub", root + "\\sub\\深", root + "\\.cache"}) {
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
  }
  const std::vector<std::string> files = {root + "\\top.bmp", root + "\\x;y.png", root + "\\sub\\mid.bmp",
                                          root + "\\sub\\深\\deep 图.bmp", root + "\\.cache\\hidden.bmp"};
  for (const std::string& file : files) ASSERT_TRUE(WriteSmallBmp(file, 4, 4)) << file;

  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.AddFolder(root)) << program.error();
  const JobRows rows = program.Rows();
  ASSERT_EQ(rows.size(), 4u) << "the file under \".cache\" must not be listed";
  const std::vector<std::string> paths = Column(rows, 1);
  // Sub-folders at every depth come first, the chosen folder's files last.
  const std::set<std::string> last_two(paths.begin() + 2, paths.end());
  EXPECT_EQ(last_two, (std::set<std::string>{files[0], files[1]}));
  const std::set<std::string> first_two(paths.begin(), paths.begin() + 2);
  EXPECT_EQ(first_two, (std::set<std::string>{files[2], files[3]}));
  EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_TRUE(program.Idle()) << "the scan hides the progress bar and the cancel button at its end";
}

TEST_F(JobListEndToEnd, DeleteSelectedClearAndCancelledDialogs) {
  ScratchFolder scratch("list_delete");
  const std::string root = AbsolutePath(scratch.path());
  const std::vector<std::string> names = {"1.bmp", "2.bmp", "3.bmp", "4.bmp"};
  for (const std::string& name : names) ASSERT_TRUE(WriteSmallBmp(root + "\\" + name, 4, 4));

  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.AddFiles(root, names)) << program.error();
  const JobRows before = program.Rows();
  ASSERT_EQ(before.size(), 4u);
  ASSERT_TRUE(program.SelectRows(1, 2)) << program.error();
  ASSERT_TRUE(program.Click(program.controls().remove));
  ASSERT_TRUE(WaitForCondition([&] { return program.RowCount() == 2; }, 5000)) << program.RowCount() << " rows left";
  JobRows rows = program.Rows();
  EXPECT_EQ(rows[0], before[0]);
  EXPECT_EQ(rows[1], before[3]);

  // Cancelling the open-file dialog adds nothing.
  ASSERT_TRUE(program.ChooseMenuItem(program.controls().add, 0)) << program.error();
  HWND dialog = WaitForDialog(program.process_id(), "请选择要转换的图片");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(CancelDialog(dialog));
  EXPECT_EQ(program.Rows().size(), 2u);

  ASSERT_TRUE(program.Click(program.controls().clear));
  EXPECT_TRUE(WaitForCondition([&] { return program.RowCount() == 0; }, 5000)) << program.RowCount() << " rows left";
  EXPECT_TRUE(program.Responsive());
}

}  // namespace
