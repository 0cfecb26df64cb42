// The converter's main window seen from outside: starts the program, finds
// its controls by class, caption and place, and offers the user's actions
// (menus, dialogs, clicks, typing) and what a user can see (rows, progress,
// which controls are shown or locked). Every action goes through the
// program's windows; nothing reaches into its memory but list reads.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

using JobRows = std::vector<std::vector<std::string>>;  // cells "编号", "图片路径", "状态"

struct MainWindowControls {
  HWND window = nullptr;
  HWND list = nullptr;
  HWND add = nullptr, remove = nullptr, clear = nullptr;  // owner-drawn buttons
  HWND start = nullptr, cancel = nullptr, browse = nullptr, open_folder = nullptr;
  HWND quality = nullptr, save_folder = nullptr;  // edit boxes
  HWND save_mode = nullptr;                       // combo box
  HWND keep_dates = nullptr;                      // check box
  HWND progress = nullptr;
};

class ProgramSession {
 public:
  // Starts `program` (a full path) in its own folder and waits for a main
  // window whose caption starts with `caption_prefix` (GBK).
  ProgramSession(const std::string& program, const std::string& caption_prefix);
  ~ProgramSession();  // closes the window; ends the process if it stays
  ProgramSession(const ProgramSession&) = delete;
  ProgramSession& operator=(const ProgramSession&) = delete;

  // Empty when the program runs and all controls were found, else why not.
  const std::string& error() const { return error_; }
  const MainWindowControls& controls() const { return controls_; }
  DWORD process_id() const { return process_.dwProcessId; }

  // The job list as the user reads it; a failed read is recorded in error().
  JobRows Rows();
  int RowCount() const;
  int Progress() const;
  // The window's thread answers within 2 s.
  bool Responsive() const;
  // No run or scan going on: start enabled, progress bar and cancel hidden.
  bool Idle() const;

  // Actions; each returns false and sets error() when it does not take effect.
  bool AddFiles(const std::string& folder, const std::vector<std::string>& names);
  // Adds the files below a folder and waits for the scan's end (the folder
  // must hold a file); StartFolderScan returns once the folder is chosen.
  bool AddFolder(const std::string& folder);
  bool StartFolderScan(const std::string& folder);
  // Selects rows first..last (indices from 0) with a click and Shift+Down.
  bool SelectRows(int first, int last);
  // Clicks `opener` and chooses item `item` (from 0, separators not counted)
  // of the popup menu that appears, with the arrow keys and Enter.
  bool ChooseMenuItem(HWND opener, int item);
  bool Click(HWND control);
  bool PickSaveMode(const std::string& item);
  bool TypeInto(HWND edit, const std::string& text);
  bool BrowseSaveFolder(const std::string& folder);
  // Clicks start until the window answers it: a job goes on, a row shows a
  // status, or a box comes up.
  bool StartRun();
  // Starts the run and waits (up to `timeout_ms`) until it is over: every
  // row shows a result and no job goes on.
  bool RunToEnd(DWORD timeout_ms);
  // Waits until no job goes on; for a job seen going on.
  bool WaitIdle(DWORD timeout_ms);
  // Closes the window and waits (up to `timeout_ms`) for the process to
  // end; false when it does not, or when a dialog (an error box) comes up.
  bool Close(DWORD timeout_ms = 10000);
  // The ended process's exit code; STILL_ACTIVE while it runs.
  DWORD ExitCode() const;

 private:
  bool FindControls();
  bool Fail(const std::string& message);

  PROCESS_INFORMATION process_ = {};
  MainWindowControls controls_;
  std::string error_;
};

// Captures a window as it is on the screen into a PNG file.
bool SaveWindowPicture(HWND window, const std::string& png_path);
