#include "tests/support/scratch_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
unsigned long CurrentProcessId() { return GetCurrentProcessId(); }
#else
constexpr char kSeparator = '/';
unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }
#endif

// "scratch/<process id>": test processes that run side by side never share
// a folder.
std::string ProcessScratchRoot() {
  return std::string("scratch") + kSeparator + std::to_string(CurrentProcessId());
}

}  // namespace

std::string CreateProcessScratchRoot() {
  const fs::path temporary = fs::path(ProcessScratchRoot()) / "tmp";
  fs::create_directories(temporary);
  return fs::absolute(temporary).string();
}

void RemoveProcessScratchRoot() {
  std::error_code error;
  fs::remove_all(ProcessScratchRoot(), error);
  fs::remove("scratch", error);  // only when no other test process still uses it
}

ScratchFolder::ScratchFolder(const std::string& name) : path_(ProcessScratchRoot()) {
  path_ += kSeparator;
  path_ += name;
  std::error_code error;
  fs::remove_all(path_, error);
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  fs::remove_all(path_, error);
}

std::string ScratchFolder::File(const std::string& name) const { return path_ + kSeparator + name; }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}
