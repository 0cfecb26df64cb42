// The message loop: idle callbacks and the runtime's idle work while the
// queue is empty, then every waiting message translated and dispatched (an
// Enter key that moves the focus in its window goes no further);
// WM_QUIT, posted when the last application window is destroyed, ends it.
#include "runtime/process/message_loop.h"

#include <vector>

#include "runtime/windows/enter_key.h"
#include "runtime/windows/loaded_windows.h"
#include "runtime/process/runtime_state.h"

namespace {

// Three parallel lists, in registration order.
std::vector<HWND> g_idle_windows;
std::vector<IdleRoutine> g_idle_routines;
std::vector<uintptr_t> g_idle_arguments;
bool g_loop_entered = false;

void RunIdleCallbacks() {
  // Last registered first; a callback may register another, which then
  // waits for the next idle pass.
  for (size_t i = g_idle_routines.size(); i-- > 0;) {
    if (i >= g_idle_routines.size()) continue;
    if (!IsWindow(g_idle_windows[i])) {
      g_idle_windows.erase(g_idle_windows.begin() + static_cast<ptrdiff_t>(i));
      g_idle_routines.erase(g_idle_routines.begin() + static_cast<ptrdiff_t>(i));
      g_idle_arguments.erase(g_idle_arguments.begin() + static_cast<ptrdiff_t>(i));
      continue;
    }
    g_idle_routines[i](g_idle_arguments[i]);
  }
}

// The runtime's own idle work, given the number of idle passes since the
// last message that did work: it has nothing left after the first pass.
bool RuntimeIdleWork(int32_t count) { return count < 1; }

// Messages that arrive on their own without anyone working (painting,
// timers, the caret, mouse moves to the same place) do not restart idling.
bool DidWork(const MSG& message) {
  static POINT last_mouse = {-1, -1};
  switch (message.message) {
    case WM_PAINT:
    case WM_TIMER:
    case 0x0118:  // the system timer of the caret
      return false;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      if (message.pt.x == last_mouse.x && message.pt.y == last_mouse.y) return false;
      last_mouse = message.pt;
      return true;
    default:
      return true;
  }
}

}  // namespace

void RegisterIdleCallback(HWND window, IdleRoutine routine, uintptr_t argument) {
  if (!routine) return;
  g_idle_windows.push_back(window);
  g_idle_routines.push_back(routine);
  g_idle_arguments.push_back(argument);
}

void DropIdleCallbacks() {
  g_idle_windows.clear();
  g_idle_routines.clear();
  g_idle_arguments.clear();
}

bool MessageLoopEntered() { return g_loop_entered; }

void RunMessageLoop() {
  g_loop_entered = true;
  if (!AnyApplicationWindowLeft()) return;
  bool idling = true;
  int32_t idle_count = 0;
  MSG message;
  for (;;) {
    while (idling && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      RunIdleCallbacks();
      if (!RuntimeIdleWork(idle_count++)) idling = false;
    }
    // Block for the next message, then pump all that are waiting.
    do {
      if (GetMessageA(&message, nullptr, 0, 0) <= 0) return;  // WM_QUIT (or a broken queue)
      if (!MoveFocusOnEnter(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      if (DidWork(message)) {
        idling = true;
        idle_count = 0;
      }
    } while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    if (!AnyApplicationWindowLeft()) return;
  }
}
