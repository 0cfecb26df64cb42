// The conversion run: the start button and the run body on its worker. The
// start checks the save folder (refusing an empty one, making a missing
// one); the body locks the controls that could change the list or the
// settings, converts the rows on up to kMaxConverters threads at once
// (ConcurrentRun decides which row goes when), then unlocks. The run's own
// cancel request is lent to every conversion, so a cancel or the window's
// close stops a picture part-way.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "app/concurrent_run.h"
#include "app/conversion_plan.h"
#include "app/file_keys_win.h"
#include "app/main_window.h"
#include "app/make_folder_win.h"
#include "app/program_state.h"
#include "app/settings_files_win.h"
#include "app/window_access.h"
#include "imaging/cancel_request.h"
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

// The run in progress; only one exists (the board begins no second one).
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
// the run started. `cancel` is the run's flag, passed by reference.
int32_t ConvertRow(const std::string& source, const std::string& destination, int32_t* cancel, bool keep_dates) {
  // The quality box is locked, but is read per row as the text it shows.
  const Value quality_number = services::Call(ToNumber, {LendText(ReadText(kQualityEdit, kEditBoxText).c_str())});
  const int32_t quality = services::ReadInteger(quality_number);
  Value cancel_request{0, 0, kTagInteger};
  StorePointer(cancel_request, cancel);
  const Value result = services::CallLibrary(
      ConvertPictureToJpeg, {LendText(source.c_str()), LendText(destination.c_str()), MakeLogical(false),
                             MakeInteger(quality), MakeLogical(true), MakeInteger(0), cancel_request,
                             MakeLogical(keep_dates)});
  return static_cast<int32_t>(result.word0);
}

// The keys of the files a row touches, source and destination.
std::vector<std::string> RowFileKeys(const std::string& source, const std::string& destination) {
  std::vector<std::string> keys = FileKeysOf(source);
  for (std::string& key : FileKeysOf(destination)) keys.push_back(std::move(key));
  return keys;
}

DWORD WINAPI ConverterBody(void*) {
  if (ConcurrentRun* run = g_run.load()) run->Work();
  return 0;
}

void RunAllRows(JobBoard::Job& job, SaveMode mode) {
  const int32_t row_count = RowCount();
  const bool keep_dates = ReadLogical(kKeepDatesBox, kCheckBoxChecked);
  std::vector<std::string> sources, destinations;
  for (int32_t row = 0; row < row_count; ++row) {
    sources.push_back(CellText(row, kPathColumn));
    destinations.push_back(DestinationOf(mode, job.folder, static_cast<size_t>(row) + 1, sources.back()));
  }

  RunHooks hooks;
  hooks.cancel_requested = [&job] { return CancelRequest(&job.cancel).requested(); };
  hooks.begin = [](size_t row) {
    EnsureVisible(static_cast<int32_t>(row));
    SetCellText(static_cast<int32_t>(row), kStatusColumn, kConvertingStatus);
  };
  hooks.convert = [&](size_t row) { return ConvertRow(sources[row], destinations[row], &job.cancel, keep_dates); };
  hooks.end = [&job](size_t row, int32_t code, size_t finished, size_t total) {
    if (const char* status = StatusTextOf(code)) SetCellText(static_cast<int32_t>(row), kStatusColumn, status);
    ProgramJobs().Report(&job, ProgressPositionOf(finished, total));
  };

  const auto keys_of = [&](size_t row) { return RowFileKeys(sources[row], destinations[row]); };
  ConcurrentRun run(RowSchedule(sources.size(), keys_of), std::move(hooks));
  const size_t helpers = std::min(ConverterCount(), sources.size()) - 1;
  run.ExpectWorkers(helpers + 1);  // the helpers and this thread
  g_run = &run;
  for (size_t i = 0; i < helpers; ++i) {
    if (!StartWorker(ConverterBody, 0)) run.WorkerNotStarted();
  }
  run.Work();
  run.WaitUntilSettled();
  g_run = nullptr;
}

// The run's worker; its parameter is the run's job.
DWORD WINAPI RunBody(void* parameter) {
  JobBoard::Job* job = ProgramJobs().Find(static_cast<int32_t>(reinterpret_cast<intptr_t>(parameter)));
  if (!job) return 0;
  // The start has checked the folder: "" only when the run overwrites.
  const SaveMode mode = job->folder.empty() ? SaveMode::kOverwrite : SaveMode::kSaveInFolder;
  ProgramSettings().Write(kSaveModeKey, SettingsValueOf(mode));
  LockControls(true);
  if (RowCount() > 0) RunAllRows(*job, mode);
  LockControls(false);
  ProgramJobs().End(job);
  return 0;
}

// The folder a run saves into, made when missing; "" when the run
// overwrites. False (the user told why) when the run cannot start.
bool ChooseSaveFolder(std::string* folder) {
  if (SaveModeOfChoice(ReadText(kSaveModeCombo, kComboBoxCurrentText)) == SaveMode::kOverwrite) {
    folder->clear();
    return true;
  }
  *folder = ReadText(kSaveFolderEdit, kEditBoxText);
  if (folder->find_first_not_of(' ') == std::string::npos) {
    TellUser("请先填写图片保存位置，再开始转换。");
    return false;
  }
  if (!MakeFolderWithParents(*folder)) {
    TellUser("无法创建图片保存位置“" + *folder + "”，没有转换任何图片。\r\n请换一个文件夹再试。");
    return false;
  }
  return true;
}

}  // namespace
}  // namespace tulvex

using namespace tulvex;

extern "C" int32_t OnStartClicked(int32_t, const Value*) {
  if (RowCount() <= 0 || ProgramJobs().RunGoesOn()) return 0;
  std::string folder;
  if (!ChooseSaveFolder(&folder)) return 0;
  JobBoard::Job* job = ProgramJobs().Begin(JobBoard::Kind::kRun, folder);
  if (job && !StartWorker(RunBody, job->id)) {
    ProgramJobs().End(job);
    TellUser("无法开始转换：系统资源不足。");
  }
  return 0;
}
