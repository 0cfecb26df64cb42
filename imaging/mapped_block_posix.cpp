// MappedBlock on POSIX: a file claimed with O_EXCL in the temporary folder,
// unlinked as soon as it is open (so it cannot outlive the process), its
// space reserved with posix_fallocate and mapped shared.
#include "imaging/mapped_block.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsDirectory(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::string MappedBlock::TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  std::string result = (folder != nullptr && *folder != '\0') ? folder : "/tmp";
  if (result.back() != '/') result += '/';
  return result;
}

bool MappedBlock::Allocate(size_t bytes) {
  Release();
  if (bytes == 0) return true;
  // The mapping length and the file length must both be representable.
  if (static_cast<uint64_t>(bytes) > static_cast<uint64_t>(INT64_MAX)) return false;

  const std::string folder = TemporaryFolder();
  if (!IsDirectory(folder)) return false;

  // Claim the first free name; O_EXCL makes the claim atomic against other
  // processes doing the same.
  int fd = -1;
  for (int32_t counter = 0; counter <= kLastTemporaryCounter; ++counter) {
    path_ = folder + kTemporaryPrefix + std::to_string(counter) + ".tmp";
    fd = open(path_.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) break;
  }
  if (fd < 0) {
    path_.clear();
    return false;
  }
  file_ = fd;
  // The open descriptor keeps the data; the name is not needed any more.
  unlink(path_.c_str());
  path_.clear();

  if (posix_fallocate(fd, 0, static_cast<off_t>(bytes)) != 0) {
    Release();
    return false;
  }
  void* view = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (view == MAP_FAILED) {
    Release();
    return false;
  }
  data_ = static_cast<uint8_t*>(view);
  size_ = bytes;
  return true;
}

void MappedBlock::Release() {
  if (data_ != nullptr) munmap(data_, size_);
  data_ = nullptr;
  size_ = 0;
  if (file_ >= 0) close(static_cast<int>(file_));
  file_ = -1;
  mapping_ = 0;
  if (!path_.empty()) unlink(path_.c_str());
  path_.clear();
}
