// The little state the program shares between the window thread and its
// workers: the jobs that go on (a run and folder scans, each with its own
// cancel request; drops onto the list are refused during a run, as the
// locked add button refuses clicks), and the remembered folder where the
// open-file dialog starts.
#pragma once

#include <cstdint>
#include <string>

#include "app/job_board.h"

namespace tulvex {

JobBoard& ProgramJobs();

// Guarded copies: the window thread writes, workers may read.
std::string RememberedFolder();
void SetRememberedFolder(const std::string& folder);
// Frees the global texts at exit (the clean-up routine's work).
void ReleaseGlobalTexts();

}  // namespace tulvex
