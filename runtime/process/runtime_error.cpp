// The runtime error report: counts the error, offers it to the application's
// error handler, shows the message box unless the handler suppressed it, and
// hands the end of the process to the exit that start-up registered.
#include "runtime/process/runtime_error.h"

#include <windows.h>

#include <string>

#include "runtime/process/error_report_text.h"

namespace {

LONG g_error_count = 0;
ErrorHandler g_error_handler = nullptr;
RuntimeErrorExit g_error_exit = nullptr;
// Set while the handler runs: an error raised inside the handler skips it
// and goes straight to the message box.
LONG g_handler_running = 0;

// Calls the handler unless it is absent or already running; true when it
// asks for no message box.
bool HandlerSuppressesMessageBox(LONG count, int32_t code, const char* message) {
  const ErrorHandler handler = g_error_handler;
  if (!handler || InterlockedCompareExchange(&g_handler_running, 1, 0) != 0) return false;
  const int32_t answer = handler(count, code, message);
  InterlockedExchange(&g_handler_running, 0);
  return answer != 0;
}

}  // namespace

void SetErrorHandler(ErrorHandler handler) { g_error_handler = handler; }
void SetRuntimeErrorExit(RuntimeErrorExit exit) { g_error_exit = exit; }

void ReportRuntimeError(const char* message, int32_t code) {
  const LONG count = InterlockedIncrement(&g_error_count);
  if (!message) message = "";
  if (!HandlerSuppressesMessageBox(count, code, message)) {
    const std::string text = BuildErrorReportText(message, code);
    MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONERROR);
  }
  if (const RuntimeErrorExit exit = g_error_exit) exit();
  ExitProcess(static_cast<UINT>(-1));
}

void ReportRuntimeErrorCode(int32_t code) {
  const char* message = CodedErrorMessage(code);
  if (message) ReportRuntimeError(message, code);
  // A code outside the table is still fatal; the report shows the number.
  ReportRuntimeError("", code);
}
