// Finding another process's windows the way a tester describes them: by
// window class, caption and place, never by handle values or control ids
// that only the program's source knows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Visible top-level windows of a process with a class (empty = any) whose
// caption starts with `caption_prefix` (GBK).
std::vector<HWND> TopLevelWindows(DWORD process_id, const std::string& class_name,
                                  const std::string& caption_prefix);
HWND FirstTopLevelWindow(DWORD process_id, const std::string& class_name, const std::string& caption_prefix);

// Descendants of `parent` of a class or base class (empty = any).
std::vector<HWND> ChildWindows(HWND parent, const std::string& class_name);
// The descendant of a class whose caption is exactly `caption`, or null.
HWND ChildWithCaption(HWND parent, const std::string& class_name, const std::string& caption);

std::string ClassOf(HWND window);
// The system class a program's own class is built on (RealGetWindowClass):
// a program may register "its" list view or button over the system's.
std::string BaseClassOf(HWND window);
// The window's class or its base class is `class_name` (case-insensitive).
bool IsOfClass(HWND window, const std::string& class_name);
std::string CaptionOf(HWND window);  // WM_GETTEXT, GBK
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);

// The control that holds the keyboard focus on `window`'s thread, or null.
HWND FocusOnThreadOf(HWND window);
// Typed keys reach `control`: its window is in front and it holds the focus.
bool TakesKeys(HWND control);
