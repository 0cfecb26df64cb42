// Folder scan order and rules (see folder_scan.h).
#include "app/folder_scan.h"

#include "app/gbk_path.h"

namespace tulvex {
namespace {

bool IsDotName(const std::string& name) { return !name.empty() && name[0] == '.'; }

struct Walk {
  const ListFolder& list;
  const std::function<bool()>& cancelled;
  const std::function<void(ScannedFolder&&)>& take;

  // Walks `folder`, whose part of the whole walk is [start, start + share);
  // false once cancelled.
  bool Folder(const std::string& folder, double start, double share) const {
    if (cancelled()) return false;
    const std::string prefix = WithTrailingSeparator(folder);
    std::vector<std::string> inner;
    ScannedFolder scanned{folder, {}, start + share};
    // One listing serves both: the folders to enter now, the files to hand
    // over once they are done.
    for (FolderEntry& entry : list(folder)) {
      if (!entry.is_folder) {
        scanned.files.push_back(prefix + entry.name);
      } else if (!entry.is_link && !IsDotName(entry.name)) {
        inner.push_back(prefix + entry.name);
      }
    }
    const double part = share / static_cast<double>(inner.size() + 1);
    for (size_t i = 0; i < inner.size(); ++i) {
      if (!Folder(inner[i], start + part * static_cast<double>(i), part)) return false;
    }
    take(std::move(scanned));
    return true;
  }
};

}  // namespace

std::string WithTrailingSeparator(const std::string& folder) {
  const size_t separator = LastSeparatorOf(folder);
  if (!folder.empty() && separator == folder.size() - 1) return folder;
  return folder + "\\";
}

void WalkFolderTree(const std::string& root, const ListFolder& list, const std::function<bool()>& cancelled,
                    const std::function<void(ScannedFolder&&)>& take) {
  Walk{list, cancelled, take}.Folder(root, 0.0, 1.0);
}

}  // namespace tulvex
