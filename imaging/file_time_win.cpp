// File times on Windows: the FILETIME of GetFileAttributesExA, set through
// a handle opened for attribute writes only.
#include <windows.h>

#include "imaging/file_time.h"

bool ReadLastWriteTime(const char* path, FileTime* time) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &attributes)) return false;
  ULARGE_INTEGER value;
  value.LowPart = attributes.ftLastWriteTime.dwLowDateTime;
  value.HighPart = attributes.ftLastWriteTime.dwHighDateTime;
  time->ticks = static_cast<int64_t>(value.QuadPart);
  return true;
}

bool WriteLastWriteTime(const char* path, const FileTime& time) {
  const HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ULARGE_INTEGER value;
  value.QuadPart = static_cast<ULONGLONG>(time.ticks);
  FILETIME written;
  written.dwLowDateTime = value.LowPart;
  written.dwHighDateTime = value.HighPart;
  const bool set = SetFileTime(file, nullptr, nullptr, &written) != 0;
  return CloseHandle(file) != 0 && set;
}
