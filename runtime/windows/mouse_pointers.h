// The mouse-pointer property ("鼠标指针") of every window and windowed
// control: one of the system's pointers shown while the mouse is over the
// control's client area, or 0 for the control's own (its class cursor, or
// whatever the control sets itself).
//
//   0 the control's own   1 arrow          2 cross          3 I-beam
//   4 hourglass           5 arrow and hourglass             6 no entry
//   7 four-way arrow      8 NW-SE arrow    9 NE-SW arrow   10 W-E arrow
//  11 N-S arrow          12 up arrow      13 hand          14 arrow and question mark
//
// A number outside 0..14 is stored as 0.
#pragma once

#include <windows.h>

#include <cstdint>

struct LoadedWindow;

int32_t ClampedMousePointer(int32_t choice);

// WM_SETCURSOR of a loaded window, for `under` (the window under the mouse,
// one of its controls or a window inside one) and the hit-test code: sets
// the pointer of the nearest control that has one and returns true, else
// false (the message goes on as usual).
bool ShowMousePointer(LoadedWindow& window, HWND under, int hit_test);
