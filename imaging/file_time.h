// A file's last-write time, carried from a source picture to the JPEG made
// of it when the caller asks to keep file dates. The value is the
// platform's own (100 ns units since 1601 on Windows, nanoseconds since
// 1970 elsewhere), read and written back on the same platform only.
#pragma once

#include <cstdint>

struct FileTime {
  int64_t ticks = 0;
};

// False when the file cannot be looked at.
bool ReadLastWriteTime(const char* path, FileTime* time);
// False when the file's time cannot be changed.
bool WriteLastWriteTime(const char* path, const FileTime& time);
