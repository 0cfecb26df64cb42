// Conversion runs started from the main window: the files written in both
// save modes, the status of each row, the save folder refused or made, the
// settings file, the window at the next start, cancel, and a long run that
// keeps the window answering.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>

#include "tests/app/driver/main_window.h"
#include "tests/app/driver/picture_files.h"
#include "tests/app/driver/remote_controls.h"
#include "tests/app/driver/settings_file.h"
#include "tests/app/driver/system_dialogs.h"
#include "tests/app/driver/user_input.h"
#include "tests/app/driver/window_search.h"
#include "tests/support/scratch_folder.h"

namespace {

const char kCaption[] = "Tulvex V3.0 免费版";
const char kConverted[] = "转换成功";

// The file name of a path up to its first dot, as the run names its output.
std::string BaseName(const std::string& path) {
  const std::string name = path.substr(path.find_last_of('\\') + 1);
  return name.substr(0, name.find('.'));
}

void Screenshot(const ProgramSession& program, const std::string& name) {
  const std::string path = std::string(TULVEX_SCREENSHOTS_DIR) + "\\" + name + ".png";
  EXPECT_TRUE(SaveWindowPicture(program.controls().window, path)) << path;
}

// The nine controls a run locks, all enabled or all disabled.
bool ControlsEnabled(const MainWindowControls& c, bool enabled) {
  for (HWND control : {c.add, c.remove, c.clear, c.quality, c.save_folder, c.save_mode, c.start, c.browse,
                       c.open_folder}) {
    if ((IsWindowEnabled(control) != FALSE) != enabled) return false;
  }
  return true;
}

class ConversionEndToEnd : public testing::Test {
 protected:
  void SetUp() override { RemoveSettingsFile(); }
};

TEST_F(ConversionEndToEnd, SaveIntoFolderWritesNumberedJpegsAndRemembersTheChoice) {
  ScratchFolder scratch("run_folder");
  const std::string root = AbsolutePath(scratch.path());
  const std::string out = root + "\\输出";
  ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));
  ASSERT_TRUE(WriteSmallBmp(root + "\\a.bmp", 24, 16));
  ASSERT_TRUE(WriteSmallPng(root + "\\x.y.png", 20, 10));
  ASSERT_TRUE(WriteSmallJpeg(root + "\\photo", 8, 8));
  ASSERT_TRUE(WriteSmallBmp(root + "\\gone.bmp", 4, 4));
  ASSERT_TRUE(WriteFileBytes(root + "\\notes.txt", "not a picture\n"));

  JobRows rows;
  {
    ProgramSession program(TULVEX_PROGRAM, kCaption);
    ASSERT_EQ(program.error(), "");
    ASSERT_TRUE(program.AddFiles(root, {"a.bmp", "x.y.png", "photo", "gone.bmp", "notes.txt"}))
        << program.error();
    ASSERT_TRUE(DeleteFileA((root + "\\gone.bmp").c_str()));
    ASSERT_TRUE(program.PickSaveMode("保存在：")) << program.error();
    // An empty folder box, and a folder that cannot be made, refuse the
    // start with one message each; nothing is converted.
    for (const auto& [folder, says] : {std::pair<std::string, std::string>{"", "请先填写图片保存位置"},
                                       {root + "\\notes.txt\\sub", "无法创建图片保存位置"}}) {
      ASSERT_TRUE(program.TypeInto(program.controls().save_folder, folder)) << program.error();
      ASSERT_TRUE(program.StartRun()) << program.error();
      std::string text;
      ASSERT_TRUE(AnswerMessageBox(program.process_id(), "提示", &text)) << "no message for \"" << folder << "\"";
      EXPECT_NE(text.find(says), std::string::npos) << text;
      for (const auto& row : program.Rows()) EXPECT_EQ(row[2], "") << row[1];
    }
    ASSERT_TRUE(program.BrowseSaveFolder(out)) << program.error();
    EXPECT_EQ(ReadSetting("保存位置"), out) << "browsing stores the folder at once";
    Screenshot(program, "main_window_idle");
    ASSERT_TRUE(program.RunToEnd(60000)) << program.error();
    Screenshot(program, "main_window_after_run");

    rows = program.Rows();
    ASSERT_EQ(rows.size(), 5u) << program.error();
    EXPECT_TRUE(ControlsEnabled(program.controls(), true)) << "the run unlocks the controls";
    EXPECT_EQ(ReadSetting("保存方式"), "b");
  }
  // Each row's output is named row number, "_", the name up to its first
  // dot, ".jpg"; the missing and the refused file give no output.
  const std::map<std::string, std::pair<int, int>> sizes = {{"a", {24, 16}}, {"x", {20, 10}}, {"photo", {8, 8}}};
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string base = BaseName(rows[i][1]);
    const std::string output = out + "\\" + std::to_string(i + 1) + "_" + base + ".jpg";
    const auto size = sizes.find(base);
    if (size != sizes.end()) {
      EXPECT_EQ(rows[i][2], kConverted) << rows[i][1];
      EXPECT_EQ(JpegProblem(output, size->second.first, size->second.second), "");
    } else {
      EXPECT_EQ(rows[i][2], base == "gone" ? "文件不存在" : "文件格式不支持") << rows[i][1];
      EXPECT_FALSE(FileExists(output)) << output;
    }
  }
  EXPECT_EQ(ReadFileBytes(root + "\\notes.txt"), "not a picture\n") << "a refused source stays as it was";

  // The next start shows the remembered mode and folder.
  ProgramSession again(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(again.error(), "");
  EXPECT_EQ(CaptionOf(again.controls().save_mode), "保存在：");
  EXPECT_EQ(CaptionOf(again.controls().save_folder), out);
  EXPECT_TRUE(IsWindowVisible(again.controls().save_folder) && IsWindowVisible(again.controls().browse) &&
              IsWindowVisible(again.controls().open_folder));
}

TEST_F(ConversionEndToEnd, OverwriteModeReplacesTheSourcesUnderTheirNames) {
  ScratchFolder scratch("run_overwrite");
  const std::string root = AbsolutePath(scratch.path());
  ASSERT_TRUE(WriteSmallPng(root + "\\p.png", 30, 20));
  ASSERT_TRUE(WriteSmallBmp(root + "\\图.bmp", 12, 9));
  {
    ProgramSession program(TULVEX_PROGRAM, kCaption);
    ASSERT_EQ(program.error(), "");
    EXPECT_EQ(CaptionOf(program.controls().save_mode), "覆盖原图") << "the mode without a settings file";
    EXPECT_FALSE(IsWindowVisible(program.controls().save_folder));
    ASSERT_TRUE(program.AddFiles(root, {"p.png", "图.bmp"})) << program.error();
    ASSERT_TRUE(program.RunToEnd(60000)) << program.error();
    for (const auto& row : program.Rows()) EXPECT_EQ(row[2], kConverted) << row[1];
    EXPECT_EQ(ReadSetting("保存方式"), "a");
    EXPECT_EQ(ReadSetting("保存位置"), "<missing>") << "only the browse button writes the folder";
  }
  EXPECT_EQ(JpegProblem(root + "\\p.png", 30, 20), "");
  EXPECT_EQ(JpegProblem(root + "\\图.bmp", 12, 9), "");

  ProgramSession again(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(again.error(), "");
  EXPECT_EQ(CaptionOf(again.controls().save_mode), "覆盖原图");
  EXPECT_FALSE(IsWindowVisible(again.controls().browse));
}

// The check box starts off, is remembered at once, and a run with it on
// gives each JPEG its source's last-write time, here over the source.
TEST_F(ConversionEndToEnd, KeepDatesBoxIsRememberedAndKeepsTheSourcesTimes) {
  ScratchFolder scratch("run_dates");
  const std::string root = AbsolutePath(scratch.path());
  ASSERT_TRUE(WriteSmallPng(root + "\\dated.png", 16, 8));
  const auto old_time = std::filesystem::last_write_time(root + "\\dated.png") - std::chrono::hours(24 * 400);
  std::filesystem::last_write_time(root + "\\dated.png", old_time);
  const auto checked = [](HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; };
  {
    ProgramSession program(TULVEX_PROGRAM, kCaption);
    ASSERT_EQ(program.error(), "");
    EXPECT_FALSE(checked(program.controls().keep_dates)) << "off without a settings file";
    ASSERT_TRUE(program.Click(program.controls().keep_dates));
    EXPECT_TRUE(WaitForCondition([] { return ReadSetting("保留文件日期") == "1"; }, 5000)) << ReadSetting("保留文件日期");
    ASSERT_TRUE(program.AddFiles(root, {"dated.png"})) << program.error();
    ASSERT_TRUE(program.RunToEnd(60000)) << program.error();
    EXPECT_EQ(program.Rows()[0][2], kConverted);
  }
  EXPECT_EQ(JpegProblem(root + "\\dated.png", 16, 8), "");
  EXPECT_TRUE(std::filesystem::last_write_time(root + "\\dated.png") == old_time);

  ProgramSession again(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(again.error(), "");
  EXPECT_TRUE(checked(again.controls().keep_dates)) << "remembered";
}

// The quality box is read as it stands: one the encoder refuses fails each
// row with the reason, and the source stays as it was.
TEST_F(ConversionEndToEnd, QualityTheEncoderRefusesFailsTheRowWithItsReason) {
  ScratchFolder scratch("run_bad_quality");
  const std::string root = AbsolutePath(scratch.path());
  ASSERT_TRUE(WriteSmallPng(root + "\\q.png", 10, 6));
  const std::string source = ReadFileBytes(root + "\\q.png");
  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.TypeInto(program.controls().quality, "0")) << program.error();
  ASSERT_TRUE(program.AddFiles(root, {"q.png"})) << program.error();
  ASSERT_TRUE(program.RunToEnd(60000)) << program.error();
  EXPECT_EQ(program.Rows().at(0)[2], "编码参数错误");
  EXPECT_EQ(ReadFileBytes(root + "\\q.png"), source) << "the source was overwritten";
}

TEST_F(ConversionEndToEnd, StartWithAnEmptyListDoesNothing) {
  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.Click(program.controls().start));
  // Input is handled in order: once the typed quality shows, the click on
  // start has been handled too.
  ASSERT_TRUE(program.TypeInto(program.controls().quality, "90")) << program.error();
  EXPECT_TRUE(program.Idle());
  EXPECT_TRUE(ControlsEnabled(program.controls(), true));
  EXPECT_FALSE(SettingsFileExists()) << "an empty run must not write the save mode";
}

TEST_F(ConversionEndToEnd, CancelStopsStartingRowsAndUnlocks) {
  ScratchFolder scratch("run_cancel");
  const std::string root = AbsolutePath(scratch.path()) + "\\many";
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  constexpr int kFiles = 150;
  for (int i = 0; i < kFiles; ++i) ASSERT_TRUE(WriteSmallBmp(root + "\\" + std::to_string(i) + ".bmp", 640, 480));

  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.AddFolder(root)) << program.error();
  ASSERT_EQ(program.Rows().size(), static_cast<size_t>(kFiles));
  ASSERT_TRUE(program.StartRun()) << program.error();
  // The run shows its own progress from 0; the scan left the bar at 10000.
  const auto running = [&] {
    return IsWindowVisible(program.controls().progress) && program.Progress() > 0 && program.Progress() < 10000;
  };
  ASSERT_TRUE(WaitForCondition(running, 60000)) << "the run makes no progress";
  EXPECT_TRUE(ControlsEnabled(program.controls(), false)) << "a run locks the nine controls";
  EXPECT_TRUE(IsWindowVisible(program.controls().progress));
  Screenshot(program, "main_window_during_run");
  ASSERT_TRUE(program.Click(program.controls().cancel));
  ASSERT_TRUE(program.WaitIdle(30000)) << program.error();

  const JobRows rows = program.Rows();
  const auto done = std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row[2] == kConverted; });
  const auto untouched = std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row[2].empty(); });
  // A row the cancel stopped part-way says so.
  const auto stopped = std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row[2] == "已取消"; });
  EXPECT_GT(done, 0);
  EXPECT_GT(untouched, 0) << "rows after the cancel are not started";
  EXPECT_EQ(done + stopped + untouched, kFiles) << "no row is left converting or failed";
  EXPECT_TRUE(ControlsEnabled(program.controls(), true));
  EXPECT_FALSE(IsWindowVisible(program.controls().cancel));
}

TEST_F(ConversionEndToEnd, TwoThousandRowsFinishWhileTheWindowAnswers) {
  ScratchFolder scratch("run_long");
  const std::string root = AbsolutePath(scratch.path());
  // The output folder and the one above it are made when the run starts.
  const std::string source = root + "\\in", out = root + "\\out\\新";
  ASSERT_TRUE(CreateDirectoryA(source.c_str(), nullptr));
  constexpr int kFiles = 2000;
  for (int i = 0; i < kFiles; ++i) ASSERT_TRUE(WriteSmallBmp(source + "\\" + std::to_string(i) + ".bmp", 6, 4));

  ProgramSession program(TULVEX_PROGRAM, kCaption);
  ASSERT_EQ(program.error(), "");
  ASSERT_TRUE(program.AddFolder(source)) << program.error();
  ASSERT_EQ(program.Rows().size(), static_cast<size_t>(kFiles));
  ASSERT_TRUE(program.PickSaveMode("保存在：")) << program.error();
  ASSERT_TRUE(program.TypeInto(program.controls().save_folder, out)) << program.error();
  ASSERT_TRUE(program.StartRun()) << program.error();
  int answers = 0, silences = 0;
  const bool finished = WaitForCondition([&] {
    (program.Responsive() ? answers : silences) += 1;
    // Over once no job goes on and the last row shows a result.
    return program.Idle() && !ListViewCellText(program.controls().list, kFiles - 1, 2).empty();
  }, 600000);
  ASSERT_TRUE(finished) << "the run did not end within 10 minutes";
  EXPECT_EQ(silences, 0) << "the window stopped answering " << silences << " times (" << answers << " answers)";
  const JobRows rows = program.Rows();
  ASSERT_EQ(rows.size(), static_cast<size_t>(kFiles));
  for (size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i][2], kConverted) << "row " << i + 1 << " " << rows[i][1];
  }
  for (const int row : {0, 999, 1999}) {
    const std::string output = out + "\\" + std::to_string(row + 1) + "_" + BaseName(rows[row][1]) + ".jpg";
    EXPECT_EQ(JpegProblem(output, 6, 4), "");
  }
}

}  // namespace
