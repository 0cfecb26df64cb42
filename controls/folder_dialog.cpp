// BrowseForFolder: the shell's folder dialog between disabling the
// program's windows and giving them back their state.
#include "controls/folder_dialog.h"

#include <shlobj.h>

#include "controls/command_arguments.h"
#include "runtime/control_types.h"

using controls::LogicalArgument;
using controls::TextArgument;

ProgramWindowsDisabled::ProgramWindowsDisabled(const std::vector<HWND>& windows) {
  // All states are read before any window is disabled.
  for (HWND window : windows) windows_.push_back({window, IsWindowEnabled(window) != FALSE});
  for (const Remembered& entry : windows_) EnableWindow(entry.window, FALSE);
}

void ProgramWindowsDisabled::Restore() {
  for (const Remembered& entry : windows_)
    if (IsWindow(entry.window)) EnableWindow(entry.window, entry.enabled ? TRUE : FALSE);
  windows_.clear();
}

namespace {

// The shell's item list, freed through the shell's allocator.
struct ItemList {
  LPITEMIDLIST items = nullptr;
  ~ItemList() {
    IMalloc* shell_memory = nullptr;
    if (items && SUCCEEDED(SHGetMalloc(&shell_memory))) {
      shell_memory->Free(items);
      shell_memory->Release();
    }
  }
};

}  // namespace

void BrowseForFolder(Value* result, int32_t count, const Value* args) {
  const char* title = TextArgument(count, args, 0);
  BROWSEINFOA browse = {};
  browse.lpszTitle = title;
  browse.ulFlags = BIF_EDITBOX | (LogicalArgument(count, args, 1, false) ? BIF_BROWSEINCLUDEFILES : 0);

  HWND active = GetActiveWindow();
  if (!IsWindow(active)) active = nullptr;
  const HWND foreground = GetForegroundWindow();
  browse.hwndOwner = active;

  ItemList chosen;
  {
    ProgramWindowsDisabled modal(LoadedTopLevelWindows());
    chosen.items = SHBrowseForFolderA(&browse);
  }
  if (foreground && IsWindow(foreground)) SetForegroundWindow(foreground);
  if (active && IsWindow(active)) SetActiveWindow(active);

  char path[MAX_PATH] = {};
  if (chosen.items && SHGetPathFromIDListA(chosen.items, path)) *result = NewTextValue(path, strlen(path));
  else *result = Value{0, 0, kTagText};
}
