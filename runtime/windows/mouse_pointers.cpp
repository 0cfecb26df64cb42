// The system pointers the mouse-pointer property chooses among, and their
// showing: the window answers WM_SETCURSOR, which every child hands to its
// parent before it picks its own cursor.
#include "runtime/windows/mouse_pointers.h"

#include "runtime/windows/loaded_windows.h"

namespace {

// By choice number; 0, the control's own, has none.
const LPCSTR kPointers[] = {nullptr,         IDC_ARROW,  IDC_CROSS,   IDC_IBEAM,    IDC_WAIT,
                            IDC_APPSTARTING, IDC_NO,     IDC_SIZEALL, IDC_SIZENWSE, IDC_SIZENESW,
                            IDC_SIZEWE,      IDC_SIZENS, IDC_UPARROW, IDC_HAND,     IDC_HELP};
constexpr int32_t kPointerCount = static_cast<int32_t>(sizeof kPointers / sizeof kPointers[0]);

}  // namespace

int32_t ClampedMousePointer(int32_t choice) { return choice > 0 && choice < kPointerCount ? choice : 0; }

bool ShowMousePointer(LoadedWindow& window, HWND under, int hit_test) {
  if (hit_test != HTCLIENT) return false;
  // A window inside a control (a list's header) shows the control's pointer.
  for (HWND handle = under; handle; handle = handle == window.handle() ? nullptr : GetParent(handle)) {
    const ControlInstance* control = handle == window.handle() ? &window.self : nullptr;
    for (size_t i = 0; !control && i < window.controls.size(); ++i)
      if (window.controls[i].handle == handle) control = &window.controls[i];
    if (!control) continue;
    if (control->mouse_pointer == 0) return false;
    SetCursor(LoadCursorA(nullptr, kPointers[control->mouse_pointer]));
    return true;
  }
  return false;
}
