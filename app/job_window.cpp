// The jobs seen from the main window (see job_window.h). The window
// belongs to the runtime, so its close and the board's changes are taken
// through a window subclass.
#include "app/job_window.h"

#include <commctrl.h>

#include <atomic>

#include "app/conversion_plan.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/window_access.h"
#include "runtime/event_handler.h"
#include "runtime/property_ids.h"

namespace tulvex {
namespace {

constexpr UINT_PTR kJobsSubclassId = 0x7477;
// Posted by a worker's change: the window thread shows the board again.
constexpr UINT kJobsChangedMessage = WM_APP + 0x147;

HWND g_window = nullptr;
// One posted message stands for any number of changes.
std::atomic<bool> g_refresh_posted{false};
// Set on every change, so that the close can wait for the last job's end.
HANDLE g_jobs_changed = nullptr;

// On the window thread only, so that two changes never show out of order.
void ShowBoard() {
  g_refresh_posted = false;
  const JobBoard::Display shown = ProgramJobs().Shown();
  WriteNumber(kProgressBar, kProgressPosition, shown.busy ? shown.position : kProgressRange);
  Show(kProgressBar, shown.busy);
  Show(kCancelButton, shown.cancel_shown);
}

void OnBoardChanged() {
  SetEvent(g_jobs_changed);
  if (GetWindowThreadProcessId(g_window, nullptr) == GetCurrentThreadId()) {
    ShowBoard();
  } else if (!g_refresh_posted.exchange(true)) {
    PostMessageA(g_window, kJobsChangedMessage, 0, 0);
  }
}

// The workers still write statuses and unlock controls while they stop:
// their calls reach this thread as sent messages, which the wait serves.
void StopJobsAndWait(HWND window) {
  JobBoard& jobs = ProgramJobs();
  jobs.Close();
  if (jobs.Idle()) return;
  ShowWindow(window, SW_HIDE);
  while (!jobs.Idle()) {
    MsgWaitForMultipleObjects(1, &g_jobs_changed, FALSE, INFINITE, QS_SENDMESSAGE);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

LRESULT CALLBACK JobsSubclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case kJobsChangedMessage:
      ShowBoard();
      return 0;
    case WM_CLOSE:
      StopJobsAndWait(window);
      break;
    case WM_ENDSESSION:  // the session ends after this returns
      if (wparam) StopJobsAndWait(window);
      break;
    case WM_NCDESTROY:
      ProgramJobs().SetChangeListener(nullptr);
      RemoveWindowSubclass(window, JobsSubclass, kJobsSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

bool ShowJobsInWindow(HWND window) {
  if (!window) return false;
  if (!g_jobs_changed) g_jobs_changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!g_jobs_changed || !SetWindowSubclass(window, JobsSubclass, kJobsSubclassId, 0)) return false;
  g_window = window;
  ProgramJobs().SetChangeListener(OnBoardChanged);
  return true;
}

}  // namespace tulvex

using namespace tulvex;

extern "C" int32_t OnCancelClicked(int32_t, const Value*) {
  // Every job stops; with none left to ask, the board hides the button.
  ProgramJobs().CancelAll();
  return 0;
}
