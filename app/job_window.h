// The main window's side of the jobs (app/job_board.h): the progress bar
// and the cancel button show the board, the cancel button stops every job,
// and closing the window first stops the jobs and waits for their workers,
// so that no conversion is cut off while it writes and no worker reaches a
// control that is gone.
#pragma once

#include <windows.h>

namespace tulvex {

// Hooks the main window; false when it could not be hooked.
bool ShowJobsInWindow(HWND window);

}  // namespace tulvex
