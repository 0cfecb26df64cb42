// DestinationFile on Windows: GetTempFileNameA claims a fresh file in the
// destination's folder; MoveFileExA replaces the destination when complete.
#include <windows.h>

#include <cstdio>
#include <string>

#include "imaging/destination_file.h"

bool DestinationFile::Create(const char* destination) {
  Abandon();
  if (destination == nullptr || *destination == '\0') return false;
  destination_ = destination;
  // "D:name.jpg" is relative to drive D's current folder: its folder is "D:".
  const size_t separator = destination_.find_last_of("\\/:");
  std::string folder = separator == std::string::npos ? std::string(".") : destination_.substr(0, separator + 1);

  // Creates the file under a unique name; fails for a missing folder.
  char name[MAX_PATH];
  if (folder.size() >= MAX_PATH - 14 || GetTempFileNameA(folder.c_str(), "tlv", 0, name) == 0) return false;
  temporary_ = name;
  stream_ = std::fopen(name, "wb");
  if (stream_ == nullptr) {
    DeleteFileA(name);
    temporary_.clear();
    return false;
  }
  return true;
}

bool DestinationFile::MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
