// The message loop (service slot 10) and its idle callbacks: routines that
// run while no message is waiting, for as long as their window exists.
#pragma once

#include <windows.h>

#include <cstdint>

using IdleRoutine = void (*)(uintptr_t argument);

// Called while the queue is empty, last registered first; the entry is
// dropped (not called) once `window` is no longer a window.
void RegisterIdleCallback(HWND window, IdleRoutine routine, uintptr_t argument);

// Exit: drops every idle callback.
void DropIdleCallbacks();

// True once the message loop was entered.
bool MessageLoopEntered();
