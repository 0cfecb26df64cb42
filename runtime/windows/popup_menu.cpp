// PopUpMenu: builds a system popup menu from the menu's items (in template
// order, hidden items left out), tracks it for the window that owns it,
// then destroys it. The chosen item reaches the window as a menu WM_COMMAND,
// which raises the item's "chosen" event.
#include "runtime/windows/popup_menu.h"

#include <windows.h>

#include "runtime/windows/loaded_windows.h"
#include "runtime/process/runtime_error.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/process/window_thread.h"

namespace {

constexpr int kCursorOffset = 3;

bool IsMenuControl(const ControlInstance& control) {
  return control.type &&
         (control.type->type_id == kMenuTypeId || control.type->type_id == kMenuItemTypeId);
}

bool HasItems(const LoadedWindow& window, uint32_t parent_id) {
  for (const ControlInstance& control : window.controls) {
    if (control.parent_id == parent_id && IsMenuControl(control)) return true;
  }
  return false;
}

// The items under `parent_id`; an item with items of its own is a submenu.
// Identifiers are below 0x10000, so they fit the menu command word.
HMENU BuildMenu(const LoadedWindow& window, uint32_t parent_id) {
  const HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const ControlInstance& item : window.controls) {
    if (item.parent_id != parent_id || !IsMenuControl(item) || !item.visible) continue;
    if (item.caption == "-") {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item.disabled ? MF_GRAYED : 0) | (item.checked ? MF_CHECKED : 0);
    UINT_PTR command = item.id;
    if (HasItems(window, item.id)) {
      flags |= MF_POPUP;
      command = reinterpret_cast<UINT_PTR>(BuildMenu(window, item.id));
    }
    AppendMenuA(menu, flags, command, item.caption.c_str());
  }
  return menu;
}

struct PopUpRequest {
  int32_t count;
  const Value* args;
};

void PopUpOnWindowThread(void* context) {
  const auto* request = static_cast<const PopUpRequest*>(context);
  const Value& reference = request->args[0];
  LoadedWindow* window = FindLoadedWindow(reference.word0);
  if (!window) ReportRuntimeError("未载入欲访问窗口组件所在的窗口", 0);
  const ControlInstance* menu_control = window->FindControl(reference.word1);
  if (!menu_control || menu_control->id == 0 || !IsMenuControl(*menu_control)) {
    ReportRuntimeError("未找到欲访问的窗口组件", 0);
  }

  POINT at;
  if (request->count >= 3 && !IsOmitted(request->args[1]) && !IsOmitted(request->args[2])) {
    int32_t x, y;
    if (!TryToInteger(request->args[1], &x) || !TryToInteger(request->args[2], &y)) ReportRuntimeErrorCode(kWrongArgumentTypeError);
    at = POINT{x, y};
    ClientToScreen(window->handle(), &at);
  } else {
    GetCursorPos(&at);
    at.x += kCursorOffset;
    at.y += kCursorOffset;
  }

  const HMENU menu = BuildMenu(*window, menu_control->id);
  if (!menu) return;
  // The owner must be in front for the menu to close when clicked elsewhere.
  const HWND owner = window->handle();
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
  DestroyMenu(menu);
  PostMessageA(owner, WM_NULL, 0, 0);
  // Delivered now, so that the item's handler has run when this returns.
  if (chosen != 0 && IsWindow(owner)) SendMessageA(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

}  // namespace

void PopUpMenu(Value* /*result*/, int32_t count, const Value* args) {
  if (count < 1) ReportRuntimeErrorCode(kWrongArgumentTypeError);
  PopUpRequest request{count, args};
  RunOnWindowThread(PopUpOnWindowThread, &request);
}
