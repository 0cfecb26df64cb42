// The application's windows: their window class, the procedure that hands
// control messages back to the controls (reflection), raises the window's
// own events and shows the controls' mouse pointers, and the window type's
// properties.
#include "runtime/windows/dispatch.h"
#include "runtime/windows/loaded_windows.h"
#include "runtime/windows/mouse_pointers.h"
#include "runtime/property_ids.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/standard_controls/standard_types.h"
#include "runtime/process/window_thread.h"
#include "runtime/windows/program_icons.h"
#include "runtime/windows/window_dpi.h"

namespace {

constexpr char kWindowClass[] = "TulvexWindow";

LoadedWindow* WindowOf(HWND handle) {
  return reinterpret_cast<LoadedWindow*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
}

// A child's message goes back to the child; a control of another kind
// returns 0 (DefWindowProc) for the reflected message.
LRESULT Reflect(HWND child, UINT message, WPARAM wparam, LPARAM lparam) {
  return SendMessageA(child, kReflectBase + message, wparam, lparam);
}

LRESULT OnCommand(LoadedWindow* window, WPARAM wparam, LPARAM lparam) {
  if (lparam != 0) return Reflect(reinterpret_cast<HWND>(lparam), WM_COMMAND, wparam, lparam);
  // A menu command: the item's identifier is its control identifier.
  if (HIWORD(wparam) == 0 && window && window->loaded) {
    const ControlInstance* item = window->FindControl(LOWORD(wparam));
    if (item && item->id != 0 && item->type && item->type->type_id == kMenuItemTypeId) {
      RaiseEvent(window->id, item->id, kMenuItemChosenEvent);
    }
  }
  return 0;
}

// Raised only for a real change: showing the window or restoring it to the
// same size sends WM_SIZE as well.
void OnSize(LoadedWindow* window, HWND handle) {
  if (!window || !window->loaded) return;
  RECT outer;
  GetWindowRect(handle, &outer);
  const SIZE size = {outer.right - outer.left, outer.bottom - outer.top};
  if (size.cx == window->reported_size.cx && size.cy == window->reported_size.cy) return;
  window->reported_size = size;
  RaiseEvent(window->id, 0, kWindowSizeChangedEvent, {static_cast<int32_t>(size.cx), static_cast<int32_t>(size.cy)});
}

void OnNcDestroy(HWND handle) {
  ForgetWindowHandle(handle);
  if (!AnyApplicationWindowLeft()) PostQuitMessage(0);
}

LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  LoadedWindow* window = WindowOf(handle);
  switch (message) {
    case WM_NCCREATE: {
      auto* record = static_cast<LoadedWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
      record->self.handle = handle;
      SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
      break;
    }
    case WM_COMMAND:
      return OnCommand(window, wparam, lparam);
    case WM_NOTIFY: {
      const HWND from = reinterpret_cast<const NMHDR*>(lparam)->hwndFrom;
      if (from && IsChild(handle, from)) return Reflect(from, message, wparam, lparam);
      break;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlType != ODT_MENU && item->hwndItem) return Reflect(item->hwndItem, message, wparam, lparam);
      break;
    }
    case WM_SIZE:
      OnSize(window, handle);
      break;
    case WM_SETCURSOR:
      if (window && ShowMousePointer(*window, reinterpret_cast<HWND>(wparam), LOWORD(lparam))) return TRUE;
      break;
    case kDpiChangedMessage:
      if (!window) break;
      OnWindowDpiChanged(*window, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy(handle);
      break;
    default:
      break;
  }
  return DefWindowProcA(handle, message, wparam, lparam);
}

bool ReadWindowProperty(ControlInstance& control, int32_t property, Value* value) {
  const LoadedWindow* window = FindLoadedWindow(control.window_id);
  switch (property) {
    case kWindowCaption: *value = NewTextValue(WindowTextOf(control.handle)); return true;
    case kWindowEnterMovesFocus: *value = MakeLogical(window && window->enter_moves_focus); return true;
    case kWindowDpi: *value = MakeInteger(static_cast<int32_t>(window ? window->dpi : kTemplateDpi)); return true;
    default: return false;
  }
}

bool WriteWindowProperty(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1) {
  LoadedWindow* window = FindLoadedWindow(control.window_id);
  switch (property) {
    case kWindowCaption: SetWindowTextA(control.handle, TextOfWords(word0, word1)); return true;
    case kWindowEnterMovesFocus:
      if (window) window->enter_moves_focus = word0 != 0;
      return window != nullptr;
    default: return false;
  }
}

}  // namespace

const ControlType* WindowControlType() {
  static const ControlType type = {kWindowTypeId, kWindowTypeName, false, nullptr,
                                   ReadWindowProperty, WriteWindowProperty};
  return &type;
}

bool CreateApplicationWindow(LoadedWindow* window) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA window_class = {sizeof window_class};
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = ProgramIcon(false);
  window_class.hIconSm = ProgramIcon(true);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  if (!RegisterClassExA(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  const TemplateRect& rect = window->source->rect;
  const HWND handle = CreateWindowExA(WS_EX_APPWINDOW, kWindowClass, window->source->caption.c_str(),
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect.left, rect.top, rect.width,
                                      rect.height, HiddenOwnerWindow(), nullptr, instance, window);
  if (!handle) return false;
  // The window names its icons too, so that WM_GETICON answers with them.
  SendMessageA(handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(false)));
  SendMessageA(handle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(true)));
  return true;
}
