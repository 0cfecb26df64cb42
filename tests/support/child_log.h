// The child's side of a test program run by a test (tests/support/
// child_program.h is the parent's side): its log, one line per observation,
// appended to the file the test named, and the small helpers every such
// program needs.
#pragma once

#include <cstdint>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

#if defined(__MINGW_PRINTF_FORMAT)
#define TULVEX_LOG_FORMAT __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)))
#elif defined(__GNUC__)
#define TULVEX_LOG_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define TULVEX_LOG_FORMAT
#endif

// The start every child program makes before anything else: reserves the
// low address space (tests/support/address_space.h), so that what it
// allocates afterwards lies above 4 GiB, and sends Log to `log_path`.
void StartChildLog(const char* log_path);

// Appends one printf-style line and its '\n' to the log. The file is opened
// and closed for every line, so that a line written just before a crash or
// a forced exit is kept; any thread may log.
void Log(const char* format, ...) TULVEX_LOG_FORMAT;

// An error handler for the runtime (SetErrorHandler): logs
// "error count=<n> code=<c> message=<m>" and answers 1, which suppresses
// the error's message box.
int32_t LogError(int32_t count, int32_t code, const char* message);

#ifdef _WIN32
// Runs `routine` on a thread of its own that nobody waits for.
void RunDetached(LPTHREAD_START_ROUTINE routine);
#endif
