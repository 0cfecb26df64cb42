// The program's shared state (see program_state.h).
#include "app/program_state.h"

#include <mutex>

namespace tulvex {

namespace {
std::mutex g_folder_lock;
std::string g_remembered_folder;
}  // namespace

JobBoard& ProgramJobs() {
  static JobBoard board;
  return board;
}

std::string RememberedFolder() {
  std::lock_guard<std::mutex> hold(g_folder_lock);
  return g_remembered_folder;
}

void SetRememberedFolder(const std::string& folder) {
  std::lock_guard<std::mutex> hold(g_folder_lock);
  g_remembered_folder = folder;
}

void ReleaseGlobalTexts() {
  std::lock_guard<std::mutex> hold(g_folder_lock);
  std::string().swap(g_remembered_folder);
}

}  // namespace tulvex
