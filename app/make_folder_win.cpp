// Folders made with their parents (see make_folder_win.h).
#include "app/make_folder_win.h"

#include <windows.h>

#include "app/gbk_path.h"

namespace tulvex {
namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Make(const std::string& folder) {
  if (IsFolder(folder)) return true;
  // The folders above first; one that cannot be made (a drive, a server
  // name) shows in the failure of the folder itself.
  const std::string parent = FolderOf(folder);
  if (!parent.empty() && parent.size() < folder.size() && GetFileAttributesA(parent.c_str()) == INVALID_FILE_ATTRIBUTES)
    Make(parent);
  return CreateDirectoryA(folder.c_str(), nullptr) || IsFolder(folder);
}

}  // namespace

bool MakeFolderWithParents(const std::string& folder) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return false;
  std::string path(full, length);
  // "D:\out\" names "D:\out"; a drive's root keeps its separator.
  while (path.size() > 3 && LastSeparatorOf(path) == path.size() - 1) path.pop_back();
  return Make(path);
}

}  // namespace tulvex
