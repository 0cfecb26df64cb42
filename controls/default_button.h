// The default-button role: the Enter key pressed anywhere in a window clicks
// that window's default button, unless the window moves the focus on Enter
// (runtime/windows/enter_key.h), the control with the focus takes Enter
// itself (a list's label being edited) or a menu is open.
#pragma once

#include <windows.h>

// Makes `button` the default button of its top-level window (the latest one
// registered wins); BM_CLICK is sent to it on Enter.
bool RegisterDefaultButton(HWND button);
void UnregisterDefaultButton(HWND button);
