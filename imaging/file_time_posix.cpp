// File times on POSIX: stat's st_mtim, set with utimensat (the access time
// left as it is).
#include <fcntl.h>
#include <sys/stat.h>

#include "imaging/file_time.h"

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;

}  // namespace

bool ReadLastWriteTime(const char* path, FileTime* time) {
  struct stat status;
  if (stat(path, &status) != 0) return false;
  time->ticks = static_cast<int64_t>(status.st_mtim.tv_sec) * kNanosecondsPerSecond + status.st_mtim.tv_nsec;
  return true;
}

bool WriteLastWriteTime(const char* path, const FileTime& time) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  // Floor division, so that times before 1970 keep a non-negative fraction.
  int64_t seconds = time.ticks / kNanosecondsPerSecond;
  int64_t nanoseconds = time.ticks % kNanosecondsPerSecond;
  if (nanoseconds < 0) {
    nanoseconds += kNanosecondsPerSecond;
    --seconds;
  }
  times[1].tv_sec = static_cast<time_t>(seconds);
  times[1].tv_nsec = static_cast<long>(nanoseconds);
  return utimensat(AT_FDCWD, path, times, 0) == 0;
}
