// Shared creation and focus handling of the standard child controls.
#include "runtime/windows/standard_controls/child_control.h"

#include <map>
#include <string>

#include "runtime/windows/dispatch.h"

namespace {

// Superclass name to system class, as SuperclassSystemControl made them (the
// platform does not see through a program's own class names everywhere).
std::map<std::string, std::string>& SystemClassOfSuperclass() {
  static std::map<std::string, std::string> system_classes;
  return system_classes;
}

}  // namespace

WNDPROC SuperclassSystemControl(const char* base, const char* name, WNDPROC procedure) {
  WNDCLASSA system_class = {};
  if (!GetClassInfoA(nullptr, base, &system_class)) return nullptr;
  const WNDPROC base_procedure = system_class.lpfnWndProc;
  system_class.lpfnWndProc = procedure;
  system_class.hInstance = GetModuleHandleA(nullptr);
  system_class.lpszClassName = name;
  if (!RegisterClassA(&system_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  SystemClassOfSuperclass()[name] = base;
  return base_procedure;
}

bool IsOfSystemClass(HWND window, const char* system_class) {
  char name[256] = "";
  if (!GetClassNameA(window, name, sizeof name)) return false;
  const auto superclass = SystemClassOfSuperclass().find(name);
  const char* base = superclass == SystemClassOfSuperclass().end() ? name : superclass->second.c_str();
  return lstrcmpiA(base, system_class) == 0;
}

HWND CreateChildControl(const char* class_name, DWORD style, DWORD extended_style,
                        const ControlCreateInfo& info, int height) {
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (info.visible) style |= WS_VISIBLE;
  if (info.disabled) style |= WS_DISABLED;
  const HWND control = CreateWindowExA(
      extended_style, class_name, info.caption, style, info.left, info.top, info.width,
      height >= 0 ? height : info.height, info.parent,
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(info.control_id)), GetModuleHandleA(nullptr), nullptr);
  if (control && info.font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(info.font), FALSE);
  return control;
}

void RaiseFocusEvents(HWND control, UINT message) {
  if (message == WM_SETFOCUS) RaiseControlEvent(control, kGainedFocusEvent);
  if (message == WM_KILLFOCUS) RaiseControlEvent(control, kLostFocusEvent);
}
