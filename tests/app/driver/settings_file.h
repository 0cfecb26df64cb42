// The program's settings file as the tests see it: "c:\kelo_jpg.ini" of the
// Wine prefix that the driver and the program share.
#pragma once

#include <string>

inline constexpr char kSettingsPath[] = "c:\\kelo_jpg.ini";

// Deletes the file so that a case starts from the program's defaults.
void RemoveSettingsFile();
bool SettingsFileExists();
// A key of section "Tulvex"; `missing` when the key is not there.
std::string ReadSetting(const std::string& key, const std::string& missing = "<missing>");
void WriteSetting(const std::string& key, const std::string& value);
