// What the standard child controls share: the creation of the child from
// its create info (superclassing a system control and the focus events are
// on the control libraries' surface, runtime/control_types.h).
#pragma once

#include <windows.h>

#include "runtime/control_types.h"

// Creates a child of `class_name` over the info's rectangle (its height
// replaced by `height` when that is not negative), with the caption, the
// visibility, the enabled state, the child identifier and the font.
HWND CreateChildControl(const char* class_name, DWORD style, DWORD extended_style,
                        const ControlCreateInfo& info, int height = -1);

// The window's class is the system class `system_class`, or a superclass of
// it made by SuperclassSystemControl (case-insensitive).
bool IsOfSystemClass(HWND window, const char* system_class);
