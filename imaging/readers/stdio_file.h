// A C stdio file opened for reading, closed by its destructor, shared by the
// hand-written readers. Every read is exact: running out of data is an
// error the caller sees, never bytes that silently read as zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

class StdioFile {
 public:
  StdioFile() = default;
  ~StdioFile() { Close(); }
  StdioFile(const StdioFile&) = delete;
  StdioFile& operator=(const StdioFile&) = delete;

  // Opens `path` with mode "rb"; closes what was open before.
  bool Open(const char* path);
  void Close();
  bool is_open() const { return file_ != nullptr; }

  // Reads exactly `bytes` bytes or fails (end of file, read error).
  bool ReadExactly(void* destination, size_t bytes);

  // Moves to `offset` bytes from the start. Seeking past the end succeeds;
  // the next read fails.
  bool Seek(int64_t offset);

  // The file's length in bytes, or -1; keeps the current position.
  int64_t Size();

 private:
  FILE* file_ = nullptr;
};

// Little-endian fields of a header already read into memory, taken at a
// known offset that the caller has checked lies inside the bytes.
inline uint16_t LoadLittle16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}
inline uint32_t LoadLittle32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}
