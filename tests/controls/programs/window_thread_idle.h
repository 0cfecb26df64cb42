// For the driver threads of the control test programs: waiting until the
// window thread has handled everything the driver gave it (real input,
// posted messages) and the events that followed, instead of sleeping.
#pragma once

#include <windows.h>

// On the window thread, once, when the window is made: an idle callback of
// the runtime's message loop answers the driver's waits.
void WatchWindowThreadIdle(HWND window);

// From the driver thread, after its input: true once the window thread has
// been idle with an empty queue since the call (false after `timeout_ms`).
bool WaitForWindowThreadIdle(DWORD timeout_ms = 10000);
