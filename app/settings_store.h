// The program's remembered choices, the save folder, the save mode and
// whether file dates are kept, in the INI file "c:\kelo_jpg.ini" (section
// "Tulvex"). Where that file
// cannot be written (a locked-down system drive), the choices are not lost:
// the same file is kept in the user's application-data folder instead, and
// from then on that copy is read and written whenever it exists.
//
// The file operations come through SettingsFiles, so the location rules are
// tested with files that fail on demand.
#pragma once

#include <string>

namespace tulvex {

inline constexpr char kSettingsSection[] = "Tulvex";
inline constexpr char kSaveFolderKey[] = "保存位置";
inline constexpr char kSaveModeKey[] = "保存方式";
// "1" gives each JPEG its source's last-write time; anything else does not.
inline constexpr char kKeepDatesKey[] = "保留文件日期";
inline constexpr char kPrimarySettingsPath[] = "c:\\kelo_jpg.ini";
// Below the user's application-data folder.
inline constexpr char kFallbackSettingsFolder[] = "Tulvex";
inline constexpr char kSettingsFileName[] = "kelo_jpg.ini";

// INI items of section kSettingsSection.
class SettingsFiles {
 public:
  virtual ~SettingsFiles() = default;
  virtual bool Exists(const std::string& path) = 0;
  // The item's text; `fallback` when the file or the key is missing.
  virtual std::string Read(const std::string& path, const std::string& key,
                           const std::string& fallback) = 0;
  virtual bool Write(const std::string& path, const std::string& key, const std::string& value) = 0;
  // Creates the folder that will hold `path` (parents included).
  virtual bool MakeFolderFor(const std::string& path) = 0;
};

class SettingsStore {
 public:
  // `fallback_path` is empty when no application-data folder is known.
  SettingsStore(SettingsFiles& files, std::string primary_path, std::string fallback_path);

  std::string Read(const std::string& key, const std::string& fallback);
  // False only when neither file could take the value. Callers go on then:
  // the choice still holds in the window for this session, and a message at
  // every click would tell the user of two folders that refuse files nothing
  // they could act on.
  bool Write(const std::string& key, const std::string& value);

  // The file that reads and writes go to now.
  std::string CurrentPath();

 private:
  bool MoveToFallback();

  SettingsFiles& files_;
  std::string primary_path_;
  std::string fallback_path_;
};

}  // namespace tulvex
