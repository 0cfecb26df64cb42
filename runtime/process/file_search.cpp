// File search over FindFirstFileA/FindNextFileA with the attribute filter.
#include "runtime/process/file_search.h"

#include <windows.h>

#include "runtime/values/texts.h"

bool SearchAccepts(uint32_t attributes, uint32_t mask, bool files_only) {
  if (files_only) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  const uint32_t wanted = mask & kSearchAttributeBits;
  if (wanted == 0) return (attributes & kSearchAttributeBits) == 0;
  return (attributes & wanted) != 0;
}

void CloseFileSearch(uintptr_t handle) {
  if (handle) FindClose(reinterpret_cast<HANDLE>(handle));
}

char* FindFile(const char* pattern, uint32_t mask, bool files_only, uintptr_t* handle) {
  WIN32_FIND_DATAA entry;
  bool found;
  if (pattern && *pattern) {
    CloseFileSearch(*handle);
    const HANDLE search = FindFirstFileA(pattern, &entry);
    *handle = search == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<uintptr_t>(search);
    found = *handle != 0;
  } else {
    found = *handle != 0 && FindNextFileA(reinterpret_cast<HANDLE>(*handle), &entry);
  }
  while (found) {
    if (SearchAccepts(entry.dwFileAttributes, mask, files_only)) return CopyText(entry.cFileName);
    found = FindNextFileA(reinterpret_cast<HANDLE>(*handle), &entry);
  }
  CloseFileSearch(*handle);
  *handle = 0;
  return nullptr;
}
