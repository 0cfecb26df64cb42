// The runtime error report: every fatal error of the runtime and of the
// libraries ends here, with a message box (unless the application's error
// handler suppresses it) and the end of the process with exit code -1.
#pragma once

#include <cstdint>

// The application's error handler: called with the error count, the code and
// the message; a result other than 0 suppresses the message box.
using ErrorHandler = int32_t (*)(int32_t error_count, int32_t code, const char* message);

void SetErrorHandler(ErrorHandler handler);

// What ends the process after a report. Start-up registers its own ending
// (runtime_state.h: no clean-up routines, the whole teardown, exit code -1),
// so that this file, which every layer calls, calls none of them back.
// Until one is registered a report ends the process with -1 at once.
using RuntimeErrorExit = void (*)();
void SetRuntimeErrorExit(RuntimeErrorExit exit);

// Reports a runtime error with a message text (may be null or empty) and a
// code (0 for the runtime's own messages). Does not return.
[[noreturn]] void ReportRuntimeError(const char* message, int32_t code);

// The coded errors of service slot 0; their messages are in
// error_report_text.cpp, in this order.
enum RuntimeErrorCode : int32_t {
  kArrayIndexOutOfRangeError = 1,
  kNumberExpectedError = 2,
  kArrayDimensionCountError = 3,
  kArrayIndexBelowOneError = 4,
  kTypeMismatchError = 5,
  kDllStackError = 6,
  kSubStatementResultError = 7,
  kEqualityOnlyComparisonError = 8,
  kChoiceIndexError = 9,
  kRedimensionSizeError = 10,
  kWrongArgumentTypeError = 11,
};

// Service slot 0: reports error `code` (1..11) with its message from the
// runtime error table. Does not return.
[[noreturn]] void ReportRuntimeErrorCode(int32_t code);
