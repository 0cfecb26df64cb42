// Drops from the file manager (see file_drop.h). The main window belongs to
// the runtime, so WM_DROPFILES is taken through a window subclass.
#include "app/file_drop.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/drop_plan.h"
#include "app/job_list.h"
#include "app/program_state.h"
#include "app/window_access.h"

namespace tulvex {
namespace {

constexpr UINT_PTR kDropSubclassId = 0x7476;

std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    if (DragQueryFileA(drop, i, path.data(), length + 1) == length) {
      path.resize(length);
      paths.push_back(std::move(path));
    }
  }
  return paths;
}

void OnDropFiles(HDROP drop) {
  DropPlan plan;
  const std::vector<std::string> paths = DroppedPaths(drop);
  DragFinish(drop);
  if (!PlanDrop(paths, ProgramJobs().RunGoesOn(), &plan)) return;
  AppendJobs(plan.files, false);
  for (const std::string& folder : plan.folders) StartFolderScan(folder);
}

LRESULT CALLBACK DropSubclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_DROPFILES) {
    OnDropFiles(reinterpret_cast<HDROP>(wparam));
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, DropSubclass, kDropSubclassId);
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

bool AcceptDroppedFiles(HWND window) {
  if (!window || !SetWindowSubclass(window, DropSubclass, kDropSubclassId, 0)) return false;
  DragAcceptFiles(window, TRUE);
  return true;
}

}  // namespace tulvex
