// The Enter key's part that belongs to the window: whether the window moves
// the focus on Enter, and the move itself, done by the message loop before
// the key reaches the control with the focus.
#include "runtime/windows/enter_key.h"

#include "runtime/windows/loaded_windows.h"

bool WindowMovesFocusOnEnter(HWND window) {
  const LoadedWindow* loaded = FindLoadedWindowByHandle(GetAncestor(window, GA_ROOT));
  return loaded && loaded->enter_moves_focus;
}

bool FocusTakesEnter(const MSG& message) {
  MSG asked = message;
  const LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&asked));
  return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

bool MoveFocusOnEnter(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN || !message.hwnd) return false;
  if (!WindowMovesFocusOnEnter(message.hwnd) || FocusTakesEnter(message)) return false;
  // Shift+Enter goes back, as Shift+Tab does.
  const HWND next = GetNextDlgTabItem(GetAncestor(message.hwnd, GA_ROOT), message.hwnd, GetKeyState(VK_SHIFT) < 0);
  if (next) SetFocus(next);
  return true;
}
