// The little state the program shares between the window thread and its
// workers: the cancel flag of runs and scans, whether a run is going on
// (drops onto the list are refused then, as the disabled add button refuses
// clicks), and the remembered folder where the open-file dialog starts.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace tulvex {

// 0 = go on, 1 = stop requested. Set to 0 by the start of a run or a scan,
// to 1 by the cancel button; workers read it between rows and folders.
extern std::atomic<int32_t> g_cancel_flag;
extern std::atomic<bool> g_run_in_progress;

// Guarded copies: the window thread writes, workers may read.
std::string RememberedFolder();
void SetRememberedFolder(const std::string& folder);
// Frees the global texts at exit (the clean-up routine's work).
void ReleaseGlobalTexts();

}  // namespace tulvex
