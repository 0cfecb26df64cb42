// The settings file and its fallback location (see settings_store.h).
#include "app/settings_store.h"

#include <utility>

namespace tulvex {
namespace {

// A default no stored value can have: tells a missing key from an empty one.
constexpr char kMissing[] = "\x01missing\x01";

}  // namespace

SettingsStore::SettingsStore(SettingsFiles& files, std::string primary_path, std::string fallback_path)
    : files_(files), primary_path_(std::move(primary_path)), fallback_path_(std::move(fallback_path)) {}

std::string SettingsStore::CurrentPath() {
  if (!fallback_path_.empty() && files_.Exists(fallback_path_)) return fallback_path_;
  return primary_path_;
}

std::string SettingsStore::Read(const std::string& key, const std::string& fallback) {
  return files_.Read(CurrentPath(), key, fallback);
}

bool SettingsStore::Write(const std::string& key, const std::string& value) {
  const std::string path = CurrentPath();
  if (files_.Write(path, key, value)) return true;
  if (path != primary_path_ || !MoveToFallback()) return false;
  return files_.Write(fallback_path_, key, value);
}

// Starts the fallback file with what the primary file still holds, so that
// the choice not being written now survives the move too.
bool SettingsStore::MoveToFallback() {
  if (fallback_path_.empty() || !files_.MakeFolderFor(fallback_path_)) return false;
  for (const char* key : {kSaveFolderKey, kSaveModeKey, kKeepDatesKey}) {
    const std::string kept = files_.Read(primary_path_, key, kMissing);
    if (kept != kMissing && !files_.Write(fallback_path_, key, kept)) return false;
  }
  return true;
}

}  // namespace tulvex
