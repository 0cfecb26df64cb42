// The job list's handlers: add pictures through the open-file dialog, add a
// folder (scanned on a worker), delete the selected rows, clear, and open a
// row's file or folder through the shell.
#include "app/job_list.h"

#include <windows.h>
#include <commdlg.h>

#include <deque>
#include <mutex>

#include "app/conversion_plan.h"
#include "app/dialog_answer.h"
#include "app/dll_command_table.h"
#include "app/folder_listing_win.h"
#include "app/folder_scan.h"
#include "app/gbk_path.h"
#include "app/control_library_calls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/window_access.h"
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

// Folders waiting for a scan worker; each worker takes one.
std::mutex g_scan_lock;
std::deque<std::string> g_scan_queue;

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
  if (!app::DllCommand<GetOpenFileNameFunction>(kDllGetOpenFileName)(&dialog)) return {};
  return PathsOfDialogAnswer(answer.data(), answer.size());
}

std::string TakeQueuedFolder() {
  std::lock_guard<std::mutex> hold(g_scan_lock);
  if (g_scan_queue.empty()) return std::string();
  std::string folder = std::move(g_scan_queue.front());
  g_scan_queue.pop_front();
  return folder;
}

// The scan worker: folder list first, then each folder's files, the
// progress bar counting folders.
DWORD WINAPI ScanBody(void*) {
  const std::string root = TakeQueuedFolder();
  if (root.empty()) return 0;
  const auto cancelled = [] { return g_cancel_flag.load() == 1; };
  const std::vector<std::string> folders = FoldersToScan(root, ListFolderEntries, cancelled);
  WriteNumber(kProgressBar, kProgressPosition, 0);
  Show(kProgressBar, true);
  Show(kCancelButton, true);
  for (size_t i = 0; i < folders.size(); ++i) {
    for (const std::string& file : FilesIn(folders[i], ListFolderEntries)) AppendJob(file, true);
    WriteNumber(kProgressBar, kProgressPosition, ProgressPositionOf(i + 1, folders.size()));
    if (cancelled()) break;
  }
  WriteNumber(kProgressBar, kProgressPosition, kProgressRange);
  // A run started meanwhile owns the bar and the cancel button now.
  if (!g_run_in_progress) {
    Show(kProgressBar, false);
    Show(kCancelButton, false);
  }
  return 0;
}

std::string CurrentRowPath() {
  const int32_t row = CurrentRow();
  return row < 0 ? std::string() : CellText(row, 1);
}

}  // namespace

void AppendJobs(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) AppendJob(path, false);
}

bool StartFolderScan(const std::string& folder) {
  {
    std::lock_guard<std::mutex> hold(g_scan_lock);
    g_scan_queue.push_back(folder);
  }
  g_cancel_flag = 0;
  if (StartWorker(ScanBody)) return true;
  std::lock_guard<std::mutex> hold(g_scan_lock);
  g_scan_queue.pop_back();
  return false;
}

}  // namespace tulvex

using namespace tulvex;

extern "C" int32_t OnAddPicturesChosen(int32_t, const Value*) {
  AppendJobs(AskForPictures());
  return 0;
}

extern "C" int32_t OnAddFolderChosen(int32_t, const Value*) {
  app::OwnedValue folder(app::CallLibrary(BrowseForFolder, {LendText("请选择图片所在的文件夹")}));
  g_cancel_flag = 0;
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
  if (!path.empty()) OpenWithShell(path);
  return 0;
}

extern "C" int32_t OnViewFolder(int32_t, const Value*) {
  const std::string path = CurrentRowPath();
  if (!path.empty()) OpenWithShell(FolderOf(path));
  return 0;
}
