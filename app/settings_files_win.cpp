// Settings files on Windows (see settings_files_win.h).
#include "app/settings_files_win.h"

#include <windows.h>
#include <shlobj.h>

#include "app/gbk_path.h"
#include "runtime/core_commands.h"
#include "runtime/service_calls.h"

namespace tulvex {

bool WindowsSettingsFiles::Exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WindowsSettingsFiles::Read(const std::string& path, const std::string& key,
                                       const std::string& fallback) {
  services::OwnedValue text(services::Call(ReadSettingsItem, {LendText(path.c_str()), LendText(kSettingsSection),
                                                    LendText(key.c_str()), LendText(fallback.c_str())}));
  return text.text();
}

bool WindowsSettingsFiles::Write(const std::string& path, const std::string& key, const std::string& value) {
  const Value written = services::Call(WriteSettingsItem, {LendText(path.c_str()), LendText(kSettingsSection),
                                                      LendText(key.c_str()), LendText(value.c_str())});
  return written.word0 != 0;
}

bool WindowsSettingsFiles::MakeFolderFor(const std::string& path) {
  const std::string folder = FolderOf(path);
  if (folder.empty()) return false;
  // The application-data folder itself exists; only its "Tulvex" is new.
  if (CreateDirectoryA(folder.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FallbackSettingsPath() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) || !folder[0]) {
    return std::string();
  }
  return std::string(folder) + "\\" + kFallbackSettingsFolder + "\\" + kSettingsFileName;
}

SettingsStore& ProgramSettings() {
  static WindowsSettingsFiles files;
  static SettingsStore store(files, kPrimarySettingsPath, FallbackSettingsPath());
  return store;
}

}  // namespace tulvex
