// The hidden owner window "_QZ_HideOwner": owner of the application's
// windows and the window thread's mailbox for worker threads.
#include "runtime/process/window_thread.h"

namespace {

constexpr char kHiddenOwnerClass[] = "_QZ_HideOwner";

HWND g_hidden_owner = nullptr;
WindowThreadExit g_exit = nullptr;
DWORD g_window_thread = 0;
volatile bool g_owner_destroyed = false;  // the exit has begun its teardown

LRESULT CALLBACK HiddenOwnerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kExitOnWindowThreadMessage:
      // The exit ends the process; without one the worker's own ExitProcess
      // follows the answer.
      if (g_exit) g_exit(static_cast<int32_t>(wparam));
      return 0;
    case kRunTaskMessage:
      reinterpret_cast<WindowThreadTask>(wparam)(reinterpret_cast<void*>(lparam));
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

bool CreateHiddenOwnerWindow(WindowThreadExit exit) {
  g_exit = exit;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = HiddenOwnerProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  window_class.lpszClassName = kHiddenOwnerClass;
  if (!RegisterClassA(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  g_hidden_owner = CreateWindowExA(WS_EX_TOOLWINDOW, kHiddenOwnerClass, "", WS_POPUP, 0, 0, 0, 0,
                                   nullptr, nullptr, instance, nullptr);
  g_window_thread = GetCurrentThreadId();
  return g_hidden_owner != nullptr;
}

void DestroyHiddenOwnerWindow() {
  g_owner_destroyed = true;
  if (g_hidden_owner) DestroyWindow(g_hidden_owner);
  g_hidden_owner = nullptr;
}

HWND HiddenOwnerWindow() { return g_hidden_owner; }
DWORD WindowThreadId() { return g_window_thread; }

bool IsWindowThread() { return g_window_thread == 0 || g_window_thread == GetCurrentThreadId(); }

void RunOnWindowThread(WindowThreadTask task, void* context) {
  if (IsWindowThread()) {
    task(context);
    return;
  }
  // Once the window thread tears the program down, touching its windows
  // from here would race with that; the process ends in a moment anyway.
  if (g_owner_destroyed) {
    for (;;) Sleep(INFINITE);
  }
  if (!g_hidden_owner) {  // never made: there is no window thread to ask
    task(context);
    return;
  }
  SendMessageA(g_hidden_owner, kRunTaskMessage, reinterpret_cast<WPARAM>(task),
               reinterpret_cast<LPARAM>(context));
}
