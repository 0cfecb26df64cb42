// A folder of its own for each test, below a scratch root of the test
// process (relative to the working directory, the build folder, also under
// Wine), removed with everything in it afterwards.
#pragma once

#include <string>

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder itself, and a path inside it. Paths use the platform's
  // separator so that they read as the program's users would type them.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// Makes "scratch/<process id>" and, inside it, the process's temporary
// folder; returns the temporary folder's absolute path. Called once by the
// test main before any test runs.
std::string CreateProcessScratchRoot();
void RemoveProcessScratchRoot();

// Whole-file helpers for tests.
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
