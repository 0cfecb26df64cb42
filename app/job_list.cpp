// The job list's handlers: add pictures through the open-file dialog, add a
// folder (scanned on a worker), delete the selected rows, clear, and open a
// row's file or folder through the shell. A scan is a job of its own: it
// appends each folder's files in batches as soon as the walk has them, and
// stops at its own cancel request.
#include "app/job_list.h"

#include <windows.h>
#include <commdlg.h>

#include <chrono>

#include "app/conversion_plan.h"
#include "app/dialog_answer.h"
#include "app/dll_command_table.h"
#include "app/folder_listing_win.h"
#include "app/folder_scan.h"
#include "app/gbk_path.h"
#include "app/control_library_calls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/view_file.h"
#include "app/window_access.h"
#include "imaging/cancel_request.h"
#include "runtime/core_commands.h"
#include "runtime/event_handler.h"
#include "runtime/property_ids.h"
#include "runtime/service_calls.h"

namespace tulvex {
namespace {

constexpr char kPicturesFilter[] =
    "JPG图片|*.jpg|JPEG图片|*.jpeg|BMP图片|*.bmp|TBI图片|*.tbi|PNG图片|*.png|GIF图片|*.gif|"
    "TIFF图片|*.tif;*.tiff|PCX图片|*.pcx|PCD图片|*.pcd|HEIC/AVIF/WebP图片|*.heic;*.heif;*.avif;*.webp|"
    "所有格式|*.*";

using GetOpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);

// A batch of rows is one trip to the window thread. The scan sends one when
// it holds kBatchRows paths, or when the walk has held rows back for
// kBatchDelay: the first rows show at once, and a tree of many small
// folders does not cost a trip per folder.
constexpr size_t kBatchRows = 1024;
constexpr auto kBatchDelay = std::chrono::milliseconds(100);

// "a|b|c|d" as the dialog wants it: NUL-separated, ending in two NULs.
std::string DialogFilter(const std::string& pipes) {
  std::string filter = pipes;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.push_back('\0');
  filter.push_back('\0');
  return filter;
}

std::vector<std::string> AskForPictures() {
  std::vector<char> answer(kDialogAnswerBytes, '\0');
  const std::string filter = DialogFilter(kPicturesFilter);
  const std::string start_folder = RememberedFolder();
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = MainWindowHandle();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = answer.data();
  dialog.nMaxFile = static_cast<DWORD>(answer.size());
  dialog.lpstrInitialDir = start_folder.empty() ? nullptr : start_folder.c_str();
  dialog.lpstrTitle = "请选择要转换的图片";
  dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
  if (!services::DllCommand<GetOpenFileNameFunction>(kDllGetOpenFileName)(&dialog)) return {};
  return PathsOfDialogAnswer(answer.data(), answer.size());
}

// Every file below the job's folder, in scan order, until its cancel.
void ScanFolder(JobBoard::Job& job) {
  using Clock = std::chrono::steady_clock;
  const auto cancelled = [&job] { return CancelRequest(&job.cancel).requested(); };
  std::vector<std::string> held;
  double done = 0;
  Clock::time_point last_sent = Clock::now() - kBatchDelay;
  const auto send = [&] {
    for (size_t first = 0; first < held.size() && !cancelled(); first += kBatchRows) {
      const auto end = held.begin() + static_cast<ptrdiff_t>(std::min(held.size(), first + kBatchRows));
      AppendJobs(std::vector<std::string>(held.begin() + static_cast<ptrdiff_t>(first), end), true);
    }
    held.clear();
    last_sent = Clock::now();
    ProgramJobs().Report(&job, static_cast<int32_t>(done * kProgressRange));
  };
  WalkFolderTree(job.folder, ListFolderEntries, cancelled, [&](ScannedFolder&& folder) {
    held.insert(held.end(), std::make_move_iterator(folder.files.begin()), std::make_move_iterator(folder.files.end()));
    done = folder.done;
    if (held.size() >= kBatchRows || Clock::now() - last_sent >= kBatchDelay) send();
  });
  if (!cancelled()) send();
}

// The scan's worker; its parameter is the scan's job.
DWORD WINAPI ScanBody(void* parameter) {
  JobBoard::Job* job = ProgramJobs().Find(static_cast<int32_t>(reinterpret_cast<intptr_t>(parameter)));
  if (!job) return 0;
  ScanFolder(*job);
  ProgramJobs().End(job);
  return 0;
}

std::string CurrentRowPath() {
  const int32_t row = CurrentRow();
  return row < 0 ? std::string() : CellText(row, kPathColumn);
}

}  // namespace

bool StartFolderScan(const std::string& folder) {
  JobBoard::Job* job = ProgramJobs().Begin(JobBoard::Kind::kScan, folder);
  // The board refuses scans only once the window closes.
  if (!job) return false;
  if (StartWorker(ScanBody, job->id)) return true;
  ProgramJobs().End(job);
  TellUser("无法扫描文件夹“" + folder + "”：系统资源不足。");
  return false;
}

}  // namespace tulvex

using namespace tulvex;

extern "C" int32_t OnAddPicturesChosen(int32_t, const Value*) {
  AppendJobs(AskForPictures(), false);
  return 0;
}

extern "C" int32_t OnAddFolderChosen(int32_t, const Value*) {
  services::OwnedValue folder(services::CallLibrary(BrowseForFolder, {LendText("请选择图片所在的文件夹")}));
  if (*folder.text()) StartFolderScan(folder.text());
  return 0;
}

extern "C" int32_t OnDeleteClicked(int32_t, const Value*) {
  const std::vector<int32_t> rows = SelectedRows();
  // Last to first, so that the earlier indices stay valid.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) DeleteJob(*row);
  return 0;
}

extern "C" int32_t OnClearClicked(int32_t, const Value*) {
  DeleteAllJobs();
  return 0;
}

extern "C" int32_t OnViewFile(int32_t, const Value*) {
  const std::string path = CurrentRowPath();
  if (path.empty()) return 0;
  if (ViewActionOf(path) == ViewAction::kOpenFile) {
    OpenWithShell(path);
  } else {
    ShowInFolder(path);
  }
  return 0;
}

extern "C" int32_t OnViewFolder(int32_t, const Value*) {
  const std::string path = CurrentRowPath();
  if (!path.empty()) OpenWithShell(FolderOf(path));
  return 0;
}
