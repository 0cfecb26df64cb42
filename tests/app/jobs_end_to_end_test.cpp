// The program's jobs at the edges users meet: closing the window while a
// run writes, and deleting rows while a folder scan adds them.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <set>

#include "tests/app/driver/main_window.h"
#include "tests/app/driver/picture_files.h"
#include "tests/app/driver/remote_controls.h"
#include "tests/app/driver/settings_file.h"
#include "tests/app/driver/user_input.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

const char kCaption[] = "Tulvex V3.0 免费版";

// Names of the files in `folder` that match a wildcard pattern.
std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

class JobsEndToEnd : public testing::Test {
 protected:
  void SetUp() override { RemoveSettingsFile(); }
};

TEST_F(JobsEndToEnd, ClosingDuringARunStopsTheConversionsCleanlyAndEndsTheProgram) {
  ScratchFolder scratch("close_run");
  const std::string root = AbsolutePath(scratch.path()), out = root + "\\out";
  ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));
  // Two small pictures finish at once; writing one of the large ones that
  // follow takes long enough that the window closes while it is certainly
  // being written.
  const std::vector<std::string> names = {"a.bmp", "b.bmp", "big1.bmp", "big2.bmp", "big3.bmp"};
  std::map<std::string, size_t> originals;  // name -> hash of its bytes
  for (size_t i = 0; i < names.size(); ++i) {
    ASSERT_TRUE(WriteSmallBmp(root + "\\" + names[i], i < 2 ? 40 : 6000, i < 2 ? 30 : 4000));
    originals[names[i]] = std::hash<std::string>()(ReadFileBytes(root + "\\" + names[i]));
  }
  const TemporaryFileWatch backing_files;  // the program's temporary folder is this test's
  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.AddFiles(root, names)) << program.error();
  ASSERT_TRUE(program.PickSaveMode("保存在：")) << program.error();
  ASSERT_TRUE(program.TypeInto(program.controls().save_folder, out)) << program.error();
  ASSERT_TRUE(program.StartRun()) << program.error();
  // The small ones written, and a writer's temporary file beside the
  // destinations: a large picture is being written.
  ASSERT_TRUE(WaitForCondition([&] {
    return FileExists(out + "\\1_a.jpg") && FileExists(out + "\\2_b.jpg") && !FilesMatching(out, "tlv*.tmp").empty();
  }, 120000)) << "no large picture was being written";
  ASSERT_TRUE(program.Close(120000)) << program.error();
  EXPECT_EQ(program.ExitCode(), 0u);

  EXPECT_EQ(FilesMatching(out, "tlv*.tmp"), std::vector<std::string>{}) << "a conversion was cut off mid-write";
  EXPECT_EQ(backing_files.Leftovers(), "");
  EXPECT_EQ(FilesMatching(out, "*.jpg"), (std::vector<std::string>{"1_a.jpg", "2_b.jpg"}))
      << "the conversions in flight stop; no row starts after the close";
  EXPECT_EQ(JpegProblem(out + "\\1_a.jpg", 40, 30), "");
  EXPECT_EQ(JpegProblem(out + "\\2_b.jpg", 40, 30), "");
  for (const std::string& name : names) {
    EXPECT_EQ(std::hash<std::string>()(ReadFileBytes(root + "\\" + name)), originals[name]) << name << " changed";
  }
}

TEST_F(JobsEndToEnd, RowsKeepTheirNumberAndPathWhileTheUserDeletesRowsDuringAScan) {
  ScratchFolder scratch("scan_delete");
  const std::string root = AbsolutePath(scratch.path()) + "\\tree";
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  std::set<std::string> files;
  for (int folder = 0; folder < 40; ++folder) {
    const std::string below = root + "\\f" + std::to_string(folder);
    ASSERT_TRUE(CreateDirectoryA(below.c_str(), nullptr));
    for (int i = 0; i < 150; ++i) {
      const std::string path = below + "\\" + std::to_string(i) + ".jpg";
      ASSERT_TRUE(WriteFileBytes(path, ""));
      files.insert(path);
    }
  }

  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  const MainWindowControls& c = program.controls();
  ASSERT_TRUE(program.StartFolderScan(root)) << program.error();
  ASSERT_TRUE(WaitForCondition([&] { return program.RowCount() > 0; }, 60000)) << "no row came";
  // While rows come in, the user deletes the first row again and again,
  // each time once the last deletion has shown.
  int deletions = 0;
  const bool ended = WaitForCondition([&] {
    if (program.Idle()) return true;
    const std::string first = ListViewCellText(c.list, 0, 1);
    if (ClickWindow(c.list) && PressKey(VK_HOME) && program.Click(c.remove) &&
        WaitForCondition([&] { return ListViewCellText(c.list, 0, 1) != first; }, 10000)) {
      ++deletions;
    }
    return false;
  }, 120000);
  ASSERT_TRUE(ended) << "the scan did not end";
  ASSERT_GT(deletions, 0) << "the scan ended before a row was deleted";

  JobRows rows;  // number and path of each row
  std::string why;
  ASSERT_TRUE(ReadListViewRows(c.list, 2, &rows, &why)) << why;
  std::set<std::string> seen;
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_FALSE(rows[i][0].empty()) << "row " << i << " has no number";
    EXPECT_EQ(files.count(rows[i][1]), 1u) << "row " << i << " holds \"" << rows[i][1] << "\"";
    EXPECT_TRUE(seen.insert(rows[i][1]).second) << rows[i][1] << " stands twice";
  }
  EXPECT_LE(rows.size(), files.size());
  EXPECT_GE(rows.size() + deletions, files.size()) << "each deletion takes one row";
}

}  // namespace
