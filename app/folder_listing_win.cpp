// FindFirstFileA listing for the folder scan (see folder_listing_win.h).
#include "app/folder_listing_win.h"

#include <windows.h>

namespace tulvex {
namespace {

// Closes a find handle on every way out.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

std::vector<FolderEntry> ListFolderEntries(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA found;
  const std::string pattern = WithTrailingSeparator(folder) + "*.*";
  FindHandle search(FindFirstFileA(pattern.c_str(), &found));
  if (search.get() == INVALID_HANDLE_VALUE) return entries;
  do {
    FolderEntry entry;
    entry.name = found.cFileName;
    entry.is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.is_link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entries.push_back(std::move(entry));
  } while (FindNextFileA(search.get(), &found));
  return entries;
}

}  // namespace tulvex
