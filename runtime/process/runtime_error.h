// The runtime error report: every fatal error of the runtime and of the
// libraries ends here, with a message box (unless the application's error
// handler suppresses it) and the end of the process with exit code -1.
#pragma once

#include <cstdint>

// The application's error handler: called with the error count, the code and
// the message; a result other than 0 suppresses the message box.
using ErrorHandler = int32_t (*)(int32_t error_count, int32_t code, const char* message);

void SetErrorHandler(ErrorHandler handler);

// Reports a runtime error with a message text (may be null or empty) and a
// code (0 for the runtime's own messages). Does not return.
[[noreturn]] void ReportRuntimeError(const char* message, int32_t code);

// Service slot 0: reports error `code` (1..11) with its message from the
// runtime error table. Does not return.
[[noreturn]] void ReportRuntimeErrorCode(int32_t code);
