// The Enter key in a window. A window can move the input focus on Enter, to
// the next control that takes the focus by keyboard, as Tab would; such a
// window gives Enter to no default button. The control with the focus keeps
// Enter when it asks for all keys (a list's label being edited).
#pragma once

#include <windows.h>

// True when `message` is an Enter key that the message loop has used to move
// the focus in its window; the loop then neither translates nor dispatches
// it. Window thread only.
bool MoveFocusOnEnter(const MSG& message);
