// Pixel memory backed by a hidden temporary file, so that a large picture
// lives in the file system cache instead of the process's commit charge.
//
// The backing file is claimed exclusively and cannot outlive the process: on
// Windows it is opened delete-on-close, on POSIX it is unlinked at once. Disk
// space is reserved when the block is made, so a full disk is an allocation
// failure, never a fault on first touch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class MappedBlock {
 public:
  MappedBlock() = default;
  ~MappedBlock() { Release(); }
  MappedBlock(const MappedBlock&) = delete;
  MappedBlock& operator=(const MappedBlock&) = delete;

  // Releases what the block held, then maps `bytes` fresh bytes (zeroed).
  // Zero bytes releases only and succeeds. Fails, holding nothing, when no
  // temporary file can be made or mapped.
  bool Allocate(size_t bytes);

  // Unmaps the view, closes the mapping and the file, deletes the file.
  void Release();

  uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

  // The folder where backing files are made, with its trailing separator;
  // empty when the system gives none. Exposed for tests that look for
  // leftovers.
  static std::string TemporaryFolder();

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  intptr_t file_ = -1;     // platform file handle or descriptor; -1 when none
  intptr_t mapping_ = 0;   // platform mapping handle; 0 when none
  std::string path_;       // the backing file's name, deleted on release
};

// Backing files are named kTemporaryPrefix, a decimal counter and ".tmp".
// Both are fixed by the files the program has always left in the temporary
// folder: the prefix is how users and clean-up tools recognise them, and the
// counter has always stopped here (100,000,000 short of INT32_MAX), not at the
// integer's end. Neither value means anything beyond that.
inline constexpr const char kTemporaryPrefix[] = "CSWCLASS";
inline constexpr int32_t kLastTemporaryCounter = 2047483647;
