// A program that ends through the runtime error report, for the tests that
// must watch a whole process: its message box and its exit code.
//
//   runtime_error_child MODE [LOG]
//
// In the modes that take LOG, an error handler writes "count|code|message"
// to LOG and suppresses the message box. The program exits with 3 if the
// error report ever returns.
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/process/dll_commands.h"
#include "runtime/values/memory.h"
#include "runtime/values/numeric.h"
#include "runtime/process/runtime_error.h"
#include "runtime/service_calls.h"
#include "tests/support/address_space.h"

namespace {

const char* g_log_path = nullptr;

int32_t LogAndSuppress(int32_t count, int32_t code, const char* message) {
  if (FILE* log = std::fopen(g_log_path, "ab")) {
    std::fprintf(log, "%d|%d|%s\n", static_cast<int>(count), static_cast<int>(code), message);
    std::fclose(log);
  }
  return 1;
}

// An error inside the handler must not re-enter it: it goes on to the report.
int32_t FailInsideHandler(int32_t count, int32_t code, const char* message) {
  LogAndSuppress(count, code, message);
  ReportRuntimeError("处理程序内的错误", 0);
}

void LeaveCleanupMark(int32_t) {
  if (FILE* mark = std::fopen((std::string(g_log_path) + ".cleanup").c_str(), "wb")) std::fclose(mark);
}

void ResolveOne(const char* file, const char* entry) {
  const char* files[] = {file};
  const char* entries[] = {entry};
  LoadDllCommandTable(1, files, entries);
  ResolveDllCommand(0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  ReserveLowAddressSpace();
  const std::string mode = argv[1];
  InitialiseMemory(nullptr, 0);
  if (argc >= 3) {
    g_log_path = argv[2];
    SetErrorHandler(mode == "handler-fails" ? FailInsideHandler : LogAndSuppress);
  }

  if (mode == "box") ReportRuntimeError("图片“a.bmp”无法读取", 7);
  if (mode == "box-bare") ReportRuntimeError(nullptr, 0);
  if (mode == "code") services::ReportErrorCode(5);  // slot 0
  if (mode == "handler-fails") ReportRuntimeErrorCode(1);
  if (mode == "text-to-integer") ToInteger(Value{0, 0, 0x80000004});
  if (mode == "allocation") {
    // A heap of fixed size cannot supply a block of nearly 2 GB in a 64-bit
    // process either, where the process heap would.
    InitialiseMemory(nullptr, 0, HeapCreate(0, 1 << 20, 16 << 20));
    AllocateMemory(0x7FFFFFF0);
  }
  if (mode == "dll-library") ResolveOne("tulvex_no_such_library.dll", "SomeEntry");
  if (mode == "dll-entry") ResolveOne("kernel32.dll", "TulvexNoSuchEntry");
  if (mode == "dll-index") ResolveOne("kernel32.dll", "GetTickCount"), ResolveDllCommand(1);
  if (mode == "routine-4") Services().run_routine(4, 0, 0, 0, 0);
  if (mode == "cleanup") {
    services::RegisterCleanup(LeaveCleanupMark);  // slot 12, routine 3
    ReportRuntimeErrorCode(2);
  }
  return 3;
}
