// The folder scan, which the add-folder action and a drop from the file
// manager start. The handlers of the add, delete, clear and view actions
// are in job_list.cpp.
#pragma once

#include <string>

namespace tulvex {

// Scans `folder` on a worker of its own and appends every file below it,
// a job with its own cancel request. False when it could not start: the
// user is told why, unless the window is closing.
bool StartFolderScan(const std::string& folder);

}  // namespace tulvex
