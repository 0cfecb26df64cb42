// Sorting a drop into files and folders (see drop_plan.h).
#include "app/drop_plan.h"

#include <windows.h>

namespace tulvex {
namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool PlanDrop(const std::vector<std::string>& paths, bool run_in_progress, DropPlan* plan) {
  if (run_in_progress) return false;
  for (const std::string& path : paths) (IsFolder(path) ? plan->folders : plan->files).push_back(path);
  return true;
}

}  // namespace tulvex
