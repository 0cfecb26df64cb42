// The handlers that read and change the remembered choices: loading them
// when the window is created, the save-mode change, the browse and
// open-folder buttons, and the check box that keeps file dates.
#include <windows.h>
#include <shlobj.h>

#include "app/conversion_plan.h"
#include "app/dll_command_table.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/settings_files_win.h"
#include "app/window_access.h"
#include "runtime/core_commands.h"
#include "runtime/event_handler.h"
#include "runtime/property_ids.h"
#include "runtime/service_calls.h"

namespace tulvex {

namespace {

using BrowseForFolderFunction = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOA);
using PathFromIdListFunction = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
using SendMessageFunction = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

// Shows or hides the folder controls of save mode "保存在：".
void ShowFolderControls(bool visible) {
  Show(kSaveFolderEdit, visible);
  Show(kBrowseButton, visible);
  Show(kOpenFolderButton, visible);
}

// The dialog opens at the folder the edit box names.
int CALLBACK OnBrowseEvent(HWND dialog, UINT message, LPARAM, LPARAM start_folder) {
  if (message == BFFM_INITIALIZED && start_folder) {
    services::DllCommand<SendMessageFunction>(kDllSendMessage)(dialog, BFFM_SETSELECTIONA, TRUE, start_folder);
  }
  return 0;
}

// The folder dialog of the save folder; empty when cancelled.
std::string AskForSaveFolder(const std::string& start_folder) {
  char display_name[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = MainWindowHandle();
  info.pszDisplayName = display_name;
  info.lpszTitle = "图片保存位置";
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  info.lpfn = OnBrowseEvent;
  info.lParam = reinterpret_cast<LPARAM>(start_folder.c_str());
  const LPITEMIDLIST chosen = services::DllCommand<BrowseForFolderFunction>(kDllBrowseForFolder)(&info);
  if (!chosen) return std::string();
  char path[MAX_PATH] = {};
  const BOOL converted = services::DllCommand<PathFromIdListFunction>(kDllPathFromIdList)(chosen, path);
  CoTaskMemFree(chosen);
  return converted ? std::string(path) : std::string();
}

}  // namespace

// The program directory: the default save folder.
std::string ProgramDirectory() {
  services::OwnedValue directory(services::Call(GetProgramDirectory, {}));
  return directory.text();
}

void LoadSettings() {
  SettingsStore& settings = ProgramSettings();
  const std::string folder = settings.Read(kSaveFolderKey, ProgramDirectory());
  SetRememberedFolder(folder);
  WriteText(kSaveFolderEdit, kEditBoxText, folder);
  const SaveMode mode = SaveModeOfSettingsValue(settings.Read(kSaveModeKey, "a"));
  WriteNumber(kSaveModeCombo, kComboBoxSelection, mode == SaveMode::kOverwrite ? 0 : 1);
  ShowFolderControls(mode == SaveMode::kSaveInFolder);
  WriteLogical(kKeepDatesBox, kCheckBoxChecked, settings.Read(kKeepDatesKey, "0") == "1");
}

}  // namespace tulvex

using namespace tulvex;

extern "C" int32_t OnSaveModeChanged(int32_t, const Value*) {
  ShowFolderControls(SaveModeOfChoice(ReadText(kSaveModeCombo, kComboBoxCurrentText)) == SaveMode::kSaveInFolder);
  return 0;
}

extern "C" int32_t OnBrowseClicked(int32_t, const Value*) {
  const std::string folder = AskForSaveFolder(ReadText(kSaveFolderEdit, kEditBoxText));
  if (folder.empty()) return 0;
  WriteText(kSaveFolderEdit, kEditBoxText, folder);
  SetRememberedFolder(folder);
  ProgramSettings().Write(kSaveFolderKey, ReadText(kSaveFolderEdit, kEditBoxText));
  return 0;
}

extern "C" int32_t OnKeepDatesClicked(int32_t, const Value*) {
  ProgramSettings().Write(kKeepDatesKey, ReadLogical(kKeepDatesBox, kCheckBoxChecked) ? "1" : "0");
  return 0;
}

extern "C" int32_t OnOpenFolderClicked(int32_t, const Value*) {
  OpenWithShell(ReadText(kSaveFolderEdit, kEditBoxText));
  return 0;
}
