#include "imaging/readers/stdio_file.h"

namespace {

// 64-bit positions, so that files past 2 GiB are measured, not misread.
int SeekTo(FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin);
#else
  return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

int64_t Position(FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return static_cast<int64_t>(ftello(file));
#endif
}

}  // namespace

bool StdioFile::Open(const char* path) {
  Close();
  if (path == nullptr || *path == '\0') return false;
  file_ = std::fopen(path, "rb");
  return file_ != nullptr;
}

void StdioFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool StdioFile::ReadExactly(void* destination, size_t bytes) {
  if (file_ == nullptr) return false;
  if (bytes == 0) return true;
  return std::fread(destination, 1, bytes, file_) == bytes;
}

bool StdioFile::Seek(int64_t offset) {
  return file_ != nullptr && offset >= 0 && SeekTo(file_, offset, SEEK_SET) == 0;
}

int64_t StdioFile::Size() {
  if (file_ == nullptr) return -1;
  const int64_t here = Position(file_);
  if (here < 0 || SeekTo(file_, 0, SEEK_END) != 0) return -1;
  const int64_t size = Position(file_);
  if (SeekTo(file_, here, SEEK_SET) != 0) return -1;
  return size;
}
