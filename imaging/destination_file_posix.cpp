// DestinationFile on POSIX: an O_EXCL temporary beside the destination,
// renamed over it when complete.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include "imaging/destination_file.h"

namespace {

std::atomic<unsigned> next_number{0};

}  // namespace

bool DestinationFile::Create(const char* destination) {
  Abandon();
  if (destination == nullptr || *destination == '\0') return false;
  destination_ = destination;
  const size_t slash = destination_.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : destination_.substr(0, slash + 1);

  // A name nobody holds: the process id and a counter, claimed with O_EXCL.
  int descriptor = -1;
  for (int attempt = 0; attempt < 1000 && descriptor < 0; ++attempt) {
    temporary_ = folder + ".tulvex-" + std::to_string(getpid()) + "-" +
                 std::to_string(next_number.fetch_add(1)) + ".tmp";
    descriptor = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0 && errno != EEXIST) break;  // missing or read-only folder
  }
  if (descriptor < 0) {
    temporary_.clear();
    return false;
  }
  // A replaced file keeps its permissions.
  struct stat status;
  if (stat(destination_.c_str(), &status) == 0 && S_ISREG(status.st_mode))
    (void)fchmod(descriptor, status.st_mode & 07777);
  stream_ = fdopen(descriptor, "wb");
  if (stream_ == nullptr) {
    close(descriptor);
    unlink(temporary_.c_str());
    temporary_.clear();
    return false;
  }
  return true;
}

bool DestinationFile::MoveOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}
