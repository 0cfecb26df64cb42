// The window thread answers a driver's wait from the message loop's idle
// callback, which runs only when no message is waiting.
#include "tests/controls/programs/window_thread_idle.h"

#include "runtime/process/message_loop.h"
#include "tests/support/condition_wait.h"

namespace {

HWND g_window = nullptr;
volatile LONG g_asked = 0, g_answered = 0;

// The request is read before the queue is looked at: input the driver gave
// before it asked is in the queue by then and holds the answer back.
void AnswerWhenIdle(uintptr_t) {
  const LONG asked = g_asked;
  if (HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)) == 0) InterlockedExchange(&g_answered, asked);
}

}  // namespace

void WatchWindowThreadIdle(HWND window) {
  g_window = window;
  RegisterIdleCallback(window, AnswerWhenIdle, 0);
}

bool WaitForWindowThreadIdle(DWORD timeout_ms) {
  const LONG asked = InterlockedIncrement(&g_asked);
  // Wakes a window thread that has finished idling and waits for messages.
  PostMessageA(g_window, WM_NULL, 0, 0);
  return WaitForCondition([&] { return g_answered >= asked; }, timeout_ms);
}
