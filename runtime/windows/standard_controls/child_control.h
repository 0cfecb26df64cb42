// What the standard child controls share: a superclass of a system control
// class with a procedure of its own (so reflected messages reach it), the
// creation of the child from its create info, and the focus events.
#pragma once

#include <windows.h>

#include "runtime/control_types.h"

// Registers `name` as a copy of the system class `base` whose procedure is
// `procedure`; returns the system class's procedure, which `procedure`
// passes everything on to (null when the class cannot be registered).
WNDPROC SuperclassSystemControl(const char* base, const char* name, WNDPROC procedure);

// Creates a child of `class_name` over the info's rectangle (its height
// replaced by `height` when that is not negative), with the caption, the
// visibility, the enabled state, the child identifier and the font.
HWND CreateChildControl(const char* class_name, DWORD style, DWORD extended_style,
                        const ControlCreateInfo& info, int height = -1);

// Raises the common focus events for WM_SETFOCUS and WM_KILLFOCUS.
void RaiseFocusEvents(HWND control, UINT message);
