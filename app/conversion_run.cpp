// The conversion run: the start and cancel buttons and the run body on its
// worker. The body locks the controls that could change the list or the
// settings, converts the rows on up to kMaxConverters threads at once
// (ConcurrentRun decides which row goes when), then unlocks.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "app/concurrent_run.h"
#include "app/conversion_plan.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/settings_files_win.h"
#include "app/window_access.h"
#include "imaging/convert_command.h"
#include "runtime/core_commands.h"
#include "runtime/event_handler.h"
#include "runtime/property_ids.h"
#include "runtime/service_calls.h"

namespace tulvex {
namespace {

// Each converter maps a whole picture; the 32-bit address space holds few.
#if defined(_WIN64)
constexpr size_t kMaxConverters = 16;
#else
constexpr size_t kMaxConverters = 4;
#endif

// Locked during a run, unlocked afterwards, in this order.
constexpr uint32_t kLockedDuringRun[] = {kAddButton,     kDeleteButton, kClearButton,
                                         kQualityEdit,   kSaveFolderEdit, kSaveModeCombo,
                                         kStartButton,   kBrowseButton, kOpenFolderButton};

// The run in progress; only one exists, since the start button is locked.
std::atomic<ConcurrentRun*> g_run{nullptr};

size_t ConverterCount() {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return std::clamp<size_t>(system.dwNumberOfProcessors, 1, kMaxConverters);
}

void LockControls(bool locked) {
  for (const uint32_t control : kLockedDuringRun) WriteLogical(control, kPropertyDisabled, locked);
}

// The metadata is always kept; the file dates as the check box said when
// the run started.
int32_t ConvertRow(const std::string& source, const std::string& destination, bool keep_dates) {
  // The quality box is locked, but is read per row as the text it shows.
  const Value quality_number = app::Call(ToNumber, {LendText(ReadText(kQualityEdit, kEditBoxText).c_str())});
  const int32_t quality = app::ReadInteger(quality_number);
  const Value result = app::CallLibrary(
      ConvertPictureToJpeg, {LendText(source.c_str()), LendText(destination.c_str()), MakeLogical(false),
                             MakeInteger(quality), MakeLogical(true), MakeInteger(0), OmittedArgument(),
                             MakeLogical(keep_dates)});
  return static_cast<int32_t>(result.word0);
}

DWORD WINAPI ConverterBody(void*) {
  if (ConcurrentRun* run = g_run.load()) run->Work();
  return 0;
}

void RunAllRows(SaveMode mode) {
  const int32_t row_count = RowCount();
  const std::string folder = ReadText(kSaveFolderEdit, kEditBoxText);
  const bool keep_dates = ReadLogical(kKeepDatesBox, kCheckBoxChecked);
  std::vector<std::string> sources, destinations;
  for (int32_t row = 0; row < row_count; ++row) {
    sources.push_back(CellText(row, 1));
    destinations.push_back(DestinationOf(mode, folder, static_cast<size_t>(row) + 1, sources.back()));
  }

  RunHooks hooks;
  hooks.cancel_requested = [] { return g_cancel_flag.load() == 1; };
  hooks.begin = [](size_t row) {
    EnsureVisible(static_cast<int32_t>(row));
    SetCellText(static_cast<int32_t>(row), 2, kConvertingStatus);
  };
  hooks.convert = [&](size_t row) { return ConvertRow(sources[row], destinations[row], keep_dates); };
  hooks.end = [](size_t row, int32_t code, size_t finished, size_t total) {
    if (const char* status = StatusTextOf(code)) SetCellText(static_cast<int32_t>(row), 2, status);
    WriteNumber(kProgressBar, kProgressPosition, ProgressPositionOf(finished, total));
  };

  ConcurrentRun run(RowSchedule(destinations), std::move(hooks));
  const size_t helpers = std::min(ConverterCount(), sources.size()) - 1;
  run.ExpectWorkers(helpers + 1);  // the helpers and this thread
  g_run = &run;
  for (size_t i = 0; i < helpers; ++i) {
    if (!StartWorker(ConverterBody)) run.WorkerNotStarted();
  }
  run.Work();
  run.WaitUntilSettled();
  g_run = nullptr;
}

DWORD WINAPI RunBody(void*) {
  const SaveMode mode = SaveModeOfChoice(ReadText(kSaveModeCombo, kComboBoxCurrentText));
  ProgramSettings().Write(kSaveModeKey, SettingsValueOf(mode));
  LockControls(true);
  WriteNumber(kProgressBar, kProgressPosition, 0);
  Show(kProgressBar, true);
  Show(kCancelButton, true);

  if (RowCount() > 0) RunAllRows(mode);

  WriteNumber(kProgressBar, kProgressPosition, kProgressRange);
  Show(kProgressBar, false);
  LockControls(false);
  Show(kCancelButton, false);
  g_run_in_progress = false;
  return 0;
}

}  // namespace
}  // namespace tulvex

using namespace tulvex;

extern "C" int32_t OnStartClicked(int32_t, const Value*) {
  if (RowCount() <= 0 || g_run_in_progress.exchange(true)) return 0;
  g_cancel_flag = 0;
  if (!StartWorker(RunBody)) g_run_in_progress = false;
  return 0;
}

extern "C" int32_t OnCancelClicked(int32_t, const Value*) {
  g_cancel_flag = 1;
  Show(kCancelButton, false);
  return 0;
}
