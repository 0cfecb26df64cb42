// Settings-file access through the same profile API the program uses.
#include "tests/app/driver/settings_file.h"

#include <windows.h>

void RemoveSettingsFile() { DeleteFileA(kSettingsPath); }

bool SettingsFileExists() { return GetFileAttributesA(kSettingsPath) != INVALID_FILE_ATTRIBUTES; }

std::string ReadSetting(const std::string& key, const std::string& missing) {
  char value[1024] = "";
  GetPrivateProfileStringA("Tulvex", key.c_str(), missing.c_str(), value, sizeof value, kSettingsPath);
  return value;
}

void WriteSetting(const std::string& key, const std::string& value) {
  WritePrivateProfileStringA("Tulvex", key.c_str(), value.c_str(), kSettingsPath);
}
