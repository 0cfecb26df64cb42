// The window class, the child window and the shared messages of the
// library's controls.
#include "controls/control_window.h"

bool RegisterControlClass(const char* name, WNDPROC procedure, UINT class_style, HCURSOR cursor,
                          HBRUSH background) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA control_class = {};
  if (GetClassInfoA(instance, name, &control_class)) return true;
  control_class.style = class_style;
  control_class.lpfnWndProc = procedure;
  control_class.hInstance = instance;
  control_class.hCursor = cursor;
  control_class.hbrBackground = background;
  control_class.lpszClassName = name;
  // Another thread may have registered it between the two calls.
  return RegisterClassA(&control_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateControlWindow(const ControlCreateInfo& info, const char* class_name, const char* caption, DWORD style,
                         DWORD extended_style) {
  style |= WS_CHILD;
  if (info.visible) style |= WS_VISIBLE;
  if (info.disabled) style |= WS_DISABLED;
  return CreateWindowExA(extended_style, class_name, caption, style, info.left, info.top, info.width, info.height,
                         info.parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(info.control_id)),
                         GetModuleHandleA(nullptr), nullptr);
}

LRESULT PassOnWithFocusEvents(WNDPROC base, HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = base ? CallWindowProcA(base, control, message, wparam, lparam)
                              : DefWindowProcA(control, message, wparam, lparam);
  RaiseFocusEvents(control, message);
  return result;
}

LRESULT SetCaptionAndRepaint(HWND control, WPARAM wparam, LPARAM lparam, bool erase) {
  const LRESULT result = DefWindowProcA(control, WM_SETTEXT, wparam, lparam);
  InvalidateRect(control, nullptr, erase ? TRUE : FALSE);
  return result;
}
