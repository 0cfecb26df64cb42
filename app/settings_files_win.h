// The settings store's files on Windows: INI items through the core
// library's settings-item commands, and the fallback location in the
// user's application-data folder.
#pragma once

#include <string>

#include "app/settings_store.h"

namespace tulvex {

class WindowsSettingsFiles : public SettingsFiles {
 public:
  bool Exists(const std::string& path) override;
  std::string Read(const std::string& path, const std::string& key, const std::string& fallback) override;
  bool Write(const std::string& path, const std::string& key, const std::string& value) override;
  bool MakeFolderFor(const std::string& path) override;
};

// "<application data>\Tulvex\kelo_jpg.ini"; empty when the folder is unknown.
std::string FallbackSettingsPath();

// The program's one settings store.
SettingsStore& ProgramSettings();

}  // namespace tulvex
