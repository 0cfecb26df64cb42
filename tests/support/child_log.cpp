#include "tests/support/child_log.h"

#include <cstdarg>
#include <string>

#include "tests/support/address_space.h"

namespace {

// Set once at the start, before any thread that logs runs.
std::string g_log_path;

}  // namespace

void StartChildLog(const char* log_path) {
  ReserveLowAddressSpace();
  g_log_path = log_path;
}

void Log(const char* format, ...) {
  FILE* log = std::fopen(g_log_path.c_str(), "ab");
  if (!log) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(log, format, args);
  va_end(args);
  std::fputc('\n', log);
  std::fclose(log);
}

int32_t LogError(int32_t count, int32_t code, const char* message) {
  Log("error count=%d code=%d message=%s", count, code, message ? message : "(null)");
  return 1;  // no message box
}

#ifdef _WIN32
void RunDetached(LPTHREAD_START_ROUTINE routine) {
  const HANDLE thread = CreateThread(nullptr, 0, routine, nullptr, 0, nullptr);
  if (thread) CloseHandle(thread);
}
#endif
