// The default-button role: the Enter key pressed anywhere in a window clicks
// that window's default button, unless the control with the focus takes
// Enter itself (a multi-line edit box) or a menu is open.
#pragma once

#include <windows.h>

// Makes `button` the default button of its top-level window (the latest one
// registered wins); BM_CLICK is sent to it on Enter.
bool RegisterDefaultButton(HWND button);
void UnregisterDefaultButton(HWND button);
