// BrowseForFolder: lets the user pick a folder in the shell's folder
// dialog, modal for the whole program: every top-level window of the
// program is disabled while it runs and given back its own enabled state
// afterwards.
//
//   BrowseForFolder(title, [include files = false]) -> text, the folder's
//       path; "" when cancelled or when the choice has no file-system path
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/value.h"

void BrowseForFolder(Value* result, int32_t count, const Value* args);

// Remembers the enabled state of some windows and disables them; Restore
// gives each window that still exists its remembered state back.
class ProgramWindowsDisabled {
 public:
  explicit ProgramWindowsDisabled(const std::vector<HWND>& windows);
  ~ProgramWindowsDisabled() { Restore(); }
  ProgramWindowsDisabled(const ProgramWindowsDisabled&) = delete;
  ProgramWindowsDisabled& operator=(const ProgramWindowsDisabled&) = delete;

  void Restore();

 private:
  struct Remembered {
    HWND window;
    bool enabled;
  };
  std::vector<Remembered> windows_;
};
