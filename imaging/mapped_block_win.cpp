// MappedBlock on Windows: a hidden delete-on-close file claimed with
// CREATE_NEW in the temporary folder, a mapping of exactly the
// requested size (which reserves the disk space) and one view over it.
#include "imaging/mapped_block.h"

#include <windows.h>

namespace {

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

HANDLE AsHandle(intptr_t value) { return reinterpret_cast<HANDLE>(value); }

}  // namespace

std::string MappedBlock::TemporaryFolder() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  std::string result(buffer, length);
  if (result.back() != '\\' && result.back() != '/') result += '\\';
  return result;
}

bool MappedBlock::Allocate(size_t bytes) {
  Release();
  if (bytes == 0) return true;

  const std::string folder = TemporaryFolder();
  if (folder.empty() || !IsDirectory(folder)) return false;

  // Claim the first free name. CREATE_NEW is atomic; a name whose file is
  // still pending deletion answers "access denied" and is skipped as taken.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int32_t counter = 0; counter <= kLastTemporaryCounter; ++counter) {
    path_ = folder + kTemporaryPrefix + std::to_string(counter) + ".tmp";
    file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                       nullptr);
    if (file != INVALID_HANDLE_VALUE) break;
    const DWORD error = GetLastError();
    const bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                       (error == ERROR_ACCESS_DENIED &&
                        GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (!taken) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    path_.clear();
    return false;
  }
  file_ = reinterpret_cast<intptr_t>(file);

  // A mapping of exactly `bytes` grows the file to that size; on a full
  // disk this is where the allocation fails.
  const uint64_t size = bytes;
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, static_cast<DWORD>(size >> 32),
                                      static_cast<DWORD>(size & 0xFFFFFFFFu), nullptr);
  if (mapping == nullptr) {
    Release();
    return false;
  }
  mapping_ = reinterpret_cast<intptr_t>(mapping);

  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, bytes);
  if (view == nullptr) {
    Release();
    return false;
  }
  data_ = static_cast<uint8_t*>(view);
  size_ = bytes;
  return true;
}

void MappedBlock::Release() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
  data_ = nullptr;
  size_ = 0;
  if (mapping_ != 0) CloseHandle(AsHandle(mapping_));
  mapping_ = 0;
  if (file_ != -1) CloseHandle(AsHandle(file_));
  file_ = -1;
  // Closing the last handle deleted the file already; the explicit delete
  // covers a file system that ignores delete-on-close.
  if (!path_.empty()) DeleteFileA(path_.c_str());
  path_.clear();
}
