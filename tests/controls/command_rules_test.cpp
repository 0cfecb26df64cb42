// Rules of the library's commands and of the list's stored record that need
// no window: argument defaults and mappings, the thread's parameter and
// handle, the shell commands run on a harmless program, the record's bounds.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "controls/report_list_commands.h"
#include "controls/report_list_record.h"
#include "controls/shell_commands.h"
#include "controls/thread_commands.h"
#include "tests/support/child_program.h"
#include "tests/support/condition_wait.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace controls;

TEST(SetColumnWidthRule, OmittedFitsContentsBelowMinusTwoFitsHeaderLow16Bits) {
  EXPECT_EQ(ColumnWidthToPass(false, 500), 0xFFFF);  // omitted: -1
  EXPECT_EQ(ColumnWidthToPass(true, -1), 0xFFFF);
  EXPECT_EQ(ColumnWidthToPass(true, -2), 0xFFFE);
  EXPECT_EQ(ColumnWidthToPass(true, -3), 0xFFFE);
  EXPECT_EQ(ColumnWidthToPass(true, INT32_MIN), 0xFFFE);
  EXPECT_EQ(ColumnWidthToPass(true, 123), 123);
  EXPECT_EQ(ColumnWidthToPass(true, 0x12345), 0x2345);
}

TEST(ShellExecuteRule, VerbsAndWindowStatesMapAndFourArgumentsShowNormally) {
  const char* const verbs[] = {"edit", "explore", "find", "open", "print"};
  for (int32_t operation = 1; operation <= 5; ++operation) EXPECT_STREQ(ShellVerbOf(operation), verbs[operation - 1]);
  for (int32_t operation : {0, 6, -1}) EXPECT_EQ(ShellVerbOf(operation), nullptr) << operation;
  const int shows[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE};
  for (int32_t state = 1; state <= 6; ++state) EXPECT_EQ(ShowCommandOf(state), shows[state - 1]);
  for (int32_t state : {0, 7}) EXPECT_EQ(ShowCommandOf(state), SW_SHOWNORMAL);

  const Value args[] = {MakeInteger(5), LendText("a.txt"), LendText("/p"), LendText("Z:\\tmp"), MakeInteger(4)};
  ShellRequest request = ShellRequestOf(5, args);
  EXPECT_STREQ(request.verb, "print");
  EXPECT_STREQ(request.file, "a.txt");
  EXPECT_STREQ(request.parameters, "/p");
  EXPECT_STREQ(request.directory, "Z:\\tmp");
  EXPECT_EQ(request.show, SW_SHOWMAXIMIZED);
  // With four arguments the fifth record is not read, whatever lies there.
  EXPECT_EQ(ShellRequestOf(4, args).show, SW_SHOWNORMAL);

  const Value sparse[] = {MakeInteger(0), LendText("b"), OmittedArgument(), OmittedArgument(), OmittedArgument()};
  request = ShellRequestOf(5, sparse);
  EXPECT_EQ(request.verb, nullptr);
  EXPECT_EQ(request.parameters, nullptr);
  EXPECT_STREQ(request.directory, "");
  EXPECT_EQ(request.show, SW_SHOWNORMAL);
  EXPECT_EQ(ShellRequestOf(2, sparse).verb, nullptr);
}

// What the started routine saw.
struct ThreadSighting {
  volatile LONG parameter = -1;
  volatile LONG thread_id = 0;
};
ThreadSighting g_sighting;

DWORD WINAPI RecordThread(void* parameter) {
  InterlockedExchange(&g_sighting.thread_id, static_cast<LONG>(GetCurrentThreadId()));
  InterlockedExchange(&g_sighting.parameter, static_cast<LONG>(reinterpret_cast<intptr_t>(parameter)));
  return 0;
}

Value SubProgram(LPTHREAD_START_ROUTINE routine) {
  Value value{0, 0, kTagSubProgram};
  StorePointer(value, reinterpret_cast<const void*>(routine));
  return value;
}

void WaitForSighting() {
  WaitForCondition([] { return g_sighting.thread_id != 0; }, 5000);
}

// The handle variable is a 32-bit integer, with guard words on both sides.
TEST(StartThreadRule, ParameterDefaultsToZeroAndTheHandleStaysOpenOnlyWhenAskedFor) {
  g_sighting = {};
  constexpr int32_t kGuard = 0x5A5A5A5A;
  int32_t handle_variable[3] = {kGuard, 0, kGuard};
  Value reference{0, 0, kTagInteger};
  StorePointer(reference, &handle_variable[1]);
  const Value with_handle[] = {SubProgram(RecordThread), MakeInteger(-42), reference};
  EXPECT_EQ(CallCommand(StartThread, 3, with_handle).word0, 1u);
  WaitForSighting();
  EXPECT_EQ(g_sighting.parameter, -42);
  EXPECT_TRUE(handle_variable[0] == kGuard && handle_variable[2] == kGuard) << "written beside the variable";
  const HANDLE thread = LongToHandle(handle_variable[1]);
  ASSERT_NE(thread, nullptr) << "the handle was stored";
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(GetThreadId(thread), static_cast<DWORD>(g_sighting.thread_id)) << "the handle is the new thread's";
  CloseHandle(thread);

  // Only the sub-program (or an omitted parameter): 0, and no handle left:
  // the process holds as many handles as before the call.
  for (int32_t count : {1, 2}) {
    g_sighting = {};
    DWORD handles_before = 0, handles_after = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handles_before));
    const Value alone[] = {SubProgram(RecordThread), OmittedArgument()};
    EXPECT_EQ(CallCommand(StartThread, count, alone).word0, 1u);
    WaitForSighting();
    EXPECT_EQ(g_sighting.parameter, 0) << count << " arguments";
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handles_after));
    EXPECT_EQ(handles_after, handles_before) << "the thread's handle was left open";
  }
}

// Each command opens its own copy of programs/opened_marker, which writes
// its arguments, working folder and show command beside itself.
TEST(ShellCommandsRun, TheShellStartsTheTargetWithTheGivenArgumentsFolderAndWindowState) {
  ScratchFolder folder("shell_commands");
  char directory[MAX_PATH] = "", current[MAX_PATH] = "";
  GetFullPathNameA(folder.path().c_str(), MAX_PATH, directory, nullptr);
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::string shell_copy = directory + std::string("\\shell.exe"), web_copy = directory + std::string("\\web.exe");
  const Value shell_args[] = {MakeInteger(4), LendText(shell_copy.c_str()), LendText("one two"), LendText(directory),
                              MakeInteger(3)};
  const Value web_args[] = {LendText(web_copy.c_str())};
  const struct {
    Command command;
    int32_t count;
    const Value* args;
    std::string copy;
    std::vector<std::string> want;
  } cases[] = {{ShellExecuteCommand, 5, shell_args, shell_copy, {"one two", directory, std::to_string(SW_SHOWMINIMIZED)}},
               {OpenWebPage, 1, web_args, web_copy, {"", current, std::to_string(SW_SHOWNORMAL)}}};
  for (const auto& run : cases) {
    SCOPED_TRACE(run.copy);
    ASSERT_TRUE(CopyFileA(TULVEX_OPENED_MARKER, run.copy.c_str(), FALSE));
    CallCommand(run.command, run.count, run.args);
    // The file may be seen before the program has written it: wait for its lines.
    std::vector<std::string> lines;
    WaitForCondition([&] { return (lines = LogLines(ReadFileBytes(run.copy + ".txt"))).size() >= 3; }, 20000);
    EXPECT_EQ(lines, run.want);
  }
}

// --- the stored record -------------------------------------------------------------

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// The 25 words (defaults, version 1) and six blocks, the fourth (columns)
// holding `columns`.
std::vector<uint8_t> Record(uint32_t version, const std::vector<uint8_t>& columns = {}) {
  const uint32_t words[kReportListFieldCount] = {version, 1, 0, 0xFFFFFF, 0xFFFFFF, 3, 0, 1, 1, 0, 1, 0, 0,
                                                 0, 0, 1, 1, 1, 0, 0, 0, 0, 1, 0xFFFFFFFF, 0};
  std::vector<uint8_t> out;
  for (uint32_t word : words) PutU32(out, word);
  for (int block = 0; block < 6; ++block) {
    PutU32(out, block == 3 ? static_cast<uint32_t>(columns.size()) : 0);
    if (block == 3) out.insert(out.end(), columns.begin(), columns.end());
  }
  return out;
}

TEST(ReportListRecordRule, VersionsAboveOneAndEveryShortOrLongRecordAreRefused) {
  std::vector<uint8_t> column = {1};
  for (uint32_t word : {7u, 2u, 80u}) PutU32(column, word);
  column.insert(column.end(), {'A', 'b', 0});
  const std::vector<uint8_t> good = Record(1, column);

  ReportListRecord record;
  ASSERT_EQ(ReadReportListRecord(good.data(), good.size(), &record), RecordProblem::kNone);
  EXPECT_EQ(static_cast<int32_t>(record.field(kFieldInitialRow)), -1);
  std::vector<ColumnEntry> columns;
  ASSERT_TRUE(ReadColumnEntries(record.columns, &columns));
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_TRUE(columns[0].image_on_right);
  EXPECT_EQ(columns[0].image, 7);
  EXPECT_EQ(columns[0].alignment, 2);
  EXPECT_EQ(columns[0].width, 80);
  EXPECT_EQ(columns[0].text, "Ab");

  const std::vector<uint8_t> zero = Record(0);
  EXPECT_EQ(ReadReportListRecord(zero.data(), zero.size(), &record), RecordProblem::kNone);
  const std::vector<uint8_t> newer = Record(2);
  EXPECT_EQ(ReadReportListRecord(newer.data(), newer.size(), &record), RecordProblem::kTooNew);

  for (size_t cut = 0; cut < good.size(); ++cut)
    EXPECT_EQ(ReadReportListRecord(good.data(), cut, &record), RecordProblem::kDamaged) << cut << " bytes";
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_EQ(ReadReportListRecord(longer.data(), longer.size(), &record), RecordProblem::kDamaged);

  // A column text without its NUL runs past the block, not into the next one.
  std::vector<uint8_t> unterminated = column;
  unterminated.pop_back();
  const std::vector<uint8_t> cut_text = Record(1, unterminated);
  ASSERT_EQ(ReadReportListRecord(cut_text.data(), cut_text.size(), &record), RecordProblem::kNone);
  columns.clear();
  EXPECT_FALSE(ReadColumnEntries(record.columns, &columns));
  std::vector<RowEntry> rows;
  const StoredBlock short_row{column.data(), 12};
  EXPECT_FALSE(ReadRowEntries(short_row, &rows));
}

}  // namespace
