// Start-up, the message loop and shutdown of the runtime (service slots 9,
// 10, 11 and routines 3 and 6 of slot 12), and what start-up records.
#pragma once

#include <cstdint>

struct ApplicationHeader;

// Routine 6: initialises the runtime for the application.
void InitialiseRuntime(const ApplicationHeader& header);

// Routine 3: registers a routine to run at shutdown (once; called with its
// index in the list).
using CleanupRoutine = void (*)(int32_t index);
void RegisterCleanupRoutine(CleanupRoutine routine);
// The runtime error report drops the list so that no clean-up runs.
void ClearCleanupRoutines();

void LoadStartWindow(uint32_t window_id);  // slot 11; failure is fatal
void RunMessageLoop();                     // slot 10
[[noreturn]] void ExitProgram(int32_t code);  // slot 9, from any thread

// 3 for a released program; 2 makes a runtime error break into the debugger.
int32_t RunMode();

// The program's folder without its trailing backslash, and its file name.
const char* ProgramDirectory();
const char* ProgramFileName();
