// The Enter key is taken from the window thread's message queue by a
// WH_GETMESSAGE hook, installed with the first default button, before it
// reaches the control with the focus.
#include "controls/default_button.h"

#include <algorithm>
#include <vector>

#include "runtime/control_types.h"

namespace {

std::vector<HWND> g_default_buttons;  // window thread only
HHOOK g_hook = nullptr;

HWND DefaultButtonOf(HWND root) {
  // The latest registration of a window wins.
  for (auto it = g_default_buttons.rbegin(); it != g_default_buttons.rend(); ++it) {
    if (GetAncestor(*it, GA_ROOT) == root) return *it;
  }
  return nullptr;
}

// A menu's own loop takes its keys through the same queue: Enter there
// chooses the menu item.
bool MenuIsOpen() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info)) return false;
  return (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0;
}

LRESULT CALLBACK EnterHook(int code, WPARAM removing, LPARAM lparam) {
  auto* message = reinterpret_cast<MSG*>(lparam);
  if (code == HC_ACTION && removing == PM_REMOVE && message->message == WM_KEYDOWN &&
      message->wParam == VK_RETURN && message->hwnd && !MenuIsOpen()) {
    // A window that moves the focus on Enter keeps the key for that.
    const HWND root = GetAncestor(message->hwnd, GA_ROOT);
    const HWND button = WindowMovesFocusOnEnter(root) ? nullptr : DefaultButtonOf(root);
    if (button && IsWindowEnabled(button) && IsWindowVisible(button) && !FocusTakesEnter(*message)) {
      message->message = WM_NULL;  // consumed: the focused control never sees it
      SendMessageA(button, BM_CLICK, 0, 0);
    }
  }
  return CallNextHookEx(g_hook, code, removing, lparam);
}

}  // namespace

bool RegisterDefaultButton(HWND button) {
  if (!g_hook) {
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, EnterHook, nullptr, GetCurrentThreadId());
    if (!g_hook) return false;
  }
  g_default_buttons.push_back(button);
  return true;
}

void UnregisterDefaultButton(HWND button) {
  g_default_buttons.erase(std::remove(g_default_buttons.begin(), g_default_buttons.end(), button),
                          g_default_buttons.end());
  if (g_default_buttons.empty() && g_hook) {
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
  }
}
