// Name and identity keys of files (see file_keys_win.h).
#include "app/file_keys_win.h"

#include <windows.h>

#include "app/folder_scan.h"
#include "app/gbk_path.h"

namespace tulvex {
namespace {

// A path function's answer in a buffer that grows to what it asks for;
// empty on failure.
template <typename PathFunction>
std::string PathAnswer(PathFunction call) {
  std::string buffer(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = call(&buffer[0], static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return buffer.substr(0, length);
    buffer.assign(length + 1, '\0');
  }
  return std::string();
}

std::string FullPathOf(const std::string& path) {
  return PathAnswer([&](char* out, DWORD size) { return GetFullPathNameA(path.c_str(), size, out, nullptr); });
}

// Long names for every piece that exists: a destination not written yet
// takes its folder's long form.
std::string LongPathOf(const std::string& full) {
  std::string long_path =
      PathAnswer([&](char* out, DWORD size) { return GetLongPathNameA(full.c_str(), out, size); });
  if (!long_path.empty()) return long_path;
  // "C:" alone would name the drive's current folder, not its root.
  const std::string folder = WithTrailingSeparator(FolderOf(full));
  const std::string long_folder =
      PathAnswer([&](char* out, DWORD size) { return GetLongPathNameA(folder.c_str(), out, size); });
  return WithTrailingSeparator(long_folder.empty() ? folder : long_folder) + FileNameOf(full);
}

// "|file <volume>:<index>"; "|" never stands in a path. Empty when the file
// cannot be opened (missing, or not ours to look at).
std::string IdentityKeyOf(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  BY_HANDLE_FILE_INFORMATION information;
  const bool known = GetFileInformationByHandle(file, &information) != 0;
  CloseHandle(file);
  if (!known) return std::string();
  return "|file " + std::to_string(information.dwVolumeSerialNumber) + ":" +
         std::to_string((uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow);
}

}  // namespace

std::vector<std::string> FileKeysOf(const std::string& path) {
  const std::string full = FullPathOf(path);
  std::vector<std::string> keys = {FoldedPath(full.empty() ? path : LongPathOf(full))};
  std::string identity = IdentityKeyOf(path);
  if (!identity.empty()) keys.push_back(std::move(identity));
  return keys;
}

}  // namespace tulvex
