#include "tests/support/child_program.h"

#include <gtest/gtest.h>

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += "  " + line + "\n";
  return joined;
}

}  // namespace

std::vector<std::string> LogLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

void ExpectLog(const ChildRun& run, const std::vector<std::string>& expected) {
  EXPECT_EQ(run.log, expected) << "have:\n" << Joined(run.log) << "want:\n" << Joined(expected);
}

#ifdef _WIN32

namespace {

// The child runs in no particular folder: it gets the log's full path.
std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

// "C:\dir\startup_app.exe" -> "startup_app", to name the scratch folder.
std::string ProgramName(const std::string& program) {
  const size_t slash = program.find_last_of("\\/");
  std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

ChildProgram::ChildProgram(const std::string& program, const std::string& scenario,
                           const std::vector<std::string>& extra_arguments)
    : scenario_(scenario), folder_(ProgramName(program) + "_" + scenario) {
  log_path_ = FullPath(folder_.File("log.txt"));
  std::string command = "\"" + program + "\" " + scenario + " \"" + log_path_ + "\"";
  for (const std::string& argument : extra_arguments) command += " \"" + argument + "\"";
  STARTUPINFOA startup = {sizeof startup};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
    ADD_FAILURE() << "cannot start " << command << ": error " << GetLastError();
    process_ = {};
  }
}

ChildProgram::~ChildProgram() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 99);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

ChildRun ChildProgram::Finish(DWORD timeout_ms) {
  ChildRun run;
  if (!process_.hProcess) return run;
  if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 99);
    ADD_FAILURE() << scenario_ << ": the application did not end within " << timeout_ms / 1000 << " s";
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process_.hProcess, &exit_code);
  run.exit_code = exit_code;
  run.log = LogLines(ReadFileBytes(log_path_));
  return run;
}

ChildRun RunChildProgram(const std::string& program, const std::string& scenario,
                         const std::vector<std::string>& extra_arguments, DWORD timeout_ms) {
  ChildProgram child(program, scenario, extra_arguments);
  return child.Finish(timeout_ms);
}

#endif  // _WIN32
