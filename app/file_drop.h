// Files and folders dropped onto the main window from the file manager join
// the job list as the add actions would add them: files as rows, each
// folder through a folder scan. A drop during a run is refused, as the
// locked add button refuses clicks.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tulvex {

// Makes `window` accept drops; false when it could not be hooked.
bool AcceptDroppedFiles(HWND window);

}  // namespace tulvex
