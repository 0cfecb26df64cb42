// The parent's side of a test program run as a child process: the child is
// started as `"<program>" <scenario> "<log file>" ["<extra>" ...]`, writes one
// line per observation into the log, and the test compares its exit code and
// log lines with what must happen (tests/support/child_log.h is the child's
// side).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "tests/support/scratch_folder.h"
#endif

// What a finished child left: its exit code and its log lines, without
// their line ends.
struct ChildRun {
  uint32_t exit_code = 0;
  std::vector<std::string> log;
};

// The lines of a log text, split at '\n' (no empty line after a final one).
std::vector<std::string> LogLines(const std::string& text);

// Compares the log with `expected` line for line; a failure shows both as
// "have:" and "want:" lists.
void ExpectLog(const ChildRun& run, const std::vector<std::string>& expected);

#ifdef _WIN32

// How long a child may run before Finish ends it and fails the test.
constexpr DWORD kChildTimeoutMs = 60000;

// One child run: started by the constructor (a failure to start fails the
// test), its log in a scratch folder of its own. A child still running when
// the object goes is terminated.
class ChildProgram {
 public:
  ChildProgram(const std::string& program, const std::string& scenario,
               const std::vector<std::string>& extra_arguments = {});
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  DWORD id() const { return process_.dwProcessId; }
  HANDLE process() const { return process_.hProcess; }

  // Waits for the child's end (terminating it, with a test failure, after
  // `timeout_ms`), then reads its exit code and log.
  ChildRun Finish(DWORD timeout_ms = kChildTimeoutMs);

 private:
  std::string scenario_;
  ScratchFolder folder_;
  std::string log_path_;
  PROCESS_INFORMATION process_ = {};
};

// Starts the child and waits for its end: ChildProgram(...).Finish(timeout_ms).
ChildRun RunChildProgram(const std::string& program, const std::string& scenario,
                         const std::vector<std::string>& extra_arguments = {}, DWORD timeout_ms = kChildTimeoutMs);

#endif  // _WIN32
