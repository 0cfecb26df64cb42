// The core command "pop up menu": shows one of a window's popup menus
// (runtime/windows/standard_controls/menu.cpp) where the mouse is, or at a given
// place, and raises the chosen item's event before it returns.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// args[0]: the menu (control reference: window id, control id);
// args[1], args[2]: x and y in the client coordinates of the menu's window
// (optional; either omitted: the cursor position moved 3 pixels right and
// down). No result.
void PopUpMenu(Value* result, int32_t count, const Value* args);
