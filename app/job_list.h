// Filling the job list: the rows a folder scan adds, and the pictures of the
// open-file dialog or a drop from the file manager. The handlers of the add,
// delete, clear and view actions are in job_list.cpp.
#pragma once

#include <string>
#include <vector>

namespace tulvex {

// Appends one row per path, in order, on the calling thread.
void AppendJobs(const std::vector<std::string>& paths);

// Scans `folder` on a worker of its own and appends every file below it;
// false when the worker could not start.
bool StartFolderScan(const std::string& folder);

}  // namespace tulvex
