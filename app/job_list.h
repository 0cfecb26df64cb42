// The folder scan, which the add-folder action and a drop from the file
// manager start. The handlers of the add, delete, clear and view actions
// are in job_list.cpp.
#pragma once

#include <string>

namespace tulvex {

// Scans `folder` on a worker of its own and appends every file below it,
// a job with its own cancel request; false when it could not start.
bool StartFolderScan(const std::string& folder);

}  // namespace tulvex
