// Folder scan order and rules (see folder_scan.h).
#include "app/folder_scan.h"

#include "app/gbk_path.h"

namespace tulvex {
namespace {

bool IsDotName(const std::string& name) { return !name.empty() && name[0] == '.'; }

void CollectBelow(const std::string& folder, const ListFolder& list, const std::function<bool()>& cancelled,
                  std::vector<std::string>* folders) {
  for (const FolderEntry& entry : list(folder)) {
    if (!entry.is_folder || entry.is_link || IsDotName(entry.name)) continue;
    if (cancelled()) return;
    const std::string below = WithTrailingSeparator(folder) + entry.name;
    CollectBelow(below, list, cancelled, folders);
    folders->push_back(below);
  }
}

}  // namespace

std::string WithTrailingSeparator(const std::string& folder) {
  const size_t separator = LastSeparatorOf(folder);
  if (!folder.empty() && separator == folder.size() - 1) return folder;
  return folder + "\\";
}

std::vector<std::string> FoldersToScan(const std::string& root, const ListFolder& list,
                                       const std::function<bool()>& cancelled) {
  std::vector<std::string> folders;
  CollectBelow(root, list, cancelled, &folders);
  folders.push_back(root);
  return folders;
}

std::vector<std::string> FilesIn(const std::string& folder, const ListFolder& list) {
  std::vector<std::string> files;
  const std::string prefix = WithTrailingSeparator(folder);
  for (const FolderEntry& entry : list(folder)) {
    if (entry.is_folder || entry.name == "." || entry.name == "..") continue;
    files.push_back(prefix + entry.name);
  }
  return files;
}

}  // namespace tulvex
