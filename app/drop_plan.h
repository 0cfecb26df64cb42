// What a drop from the file manager adds to the job list: each dropped file
// as a row, each dropped folder through a folder scan, in drop order. A drop
// during a run adds nothing.
#pragma once

#include <string>
#include <vector>

namespace tulvex {

struct DropPlan {
  std::vector<std::string> files;
  std::vector<std::string> folders;
};

// False (and nothing planned) while a run is going on.
bool PlanDrop(const std::vector<std::string>& paths, bool run_in_progress, DropPlan* plan);

}  // namespace tulvex
