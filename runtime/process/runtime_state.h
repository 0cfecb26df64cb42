// Start-up, the message loop and shutdown of the runtime (service slots 9,
// 10, 11 and routines 3 and 6 of slot 12), and what start-up records.
#pragma once

#include <cstdint>

struct ApplicationHeader;

// The run modes: a released program, and one whose runtime errors break
// into the debugger before the exit.
constexpr int32_t kDebugRunMode = 2;
constexpr int32_t kReleasedRunMode = 3;

// Routine 6: initialises the runtime for the application.
void InitialiseRuntime(const ApplicationHeader& header);

// Routine 3: registers a routine to run at shutdown (once; called with its
// index in the list).
using CleanupRoutine = void (*)(int32_t index);
void RegisterCleanupRoutine(CleanupRoutine routine);
// Drops the list so that no clean-up runs (the end of a runtime error).
void ClearCleanupRoutines();

void LoadStartWindow(uint32_t window_id);  // slot 11; failure is fatal
void RunMessageLoop();                     // slot 10
[[noreturn]] void ExitProgram(int32_t code);  // slot 9, from any thread

int32_t RunMode();  // kReleasedRunMode once initialised

// The program's folder without its trailing backslash, and its file name.
const char* ProgramDirectory();
const char* ProgramFileName();
