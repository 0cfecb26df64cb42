// Small readable calls on the main window's controls and its job list, for
// the handlers and the workers alike: every call goes through the runtime's
// property services or the report list's commands, which carry it to the
// window thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/main_window.h"

namespace tulvex {

// Properties of main-window controls.
std::string ReadText(uint32_t control, int32_t property);
int32_t ReadNumber(uint32_t control, int32_t property);
bool ReadLogical(uint32_t control, int32_t property);
void WriteText(uint32_t control, int32_t property, const std::string& text);
void WriteNumber(uint32_t control, int32_t property, int32_t number);
void WriteLogical(uint32_t control, int32_t property, bool truth);
void Show(uint32_t control, bool visible);
HWND MainWindowHandle();
// A control's window; null for windowless controls.
HWND ControlHandle(uint32_t control);

// The job list and its columns (main_window.tvw lists them in this order).
enum JobColumn : int32_t {
  kNumberColumn = 0,  // the row's number, given when it was appended
  kPathColumn = 1,    // the source picture's path
  kStatusColumn = 2,  // what the run made of the row
};
int32_t RowCount();
// Appends a row per path, each numbered with the row count after its
// insertion, in one trip to the window thread; `scroll` makes the last one
// visible (the folder scan does, the dialog does not).
void AppendJobs(const std::vector<std::string>& paths, bool scroll);
std::string CellText(int32_t row, int32_t column);
void SetCellText(int32_t row, int32_t column, const std::string& text);
void EnsureVisible(int32_t row);
std::vector<int32_t> SelectedRows();
void DeleteJob(int32_t row);
void DeleteAllJobs();
int32_t CurrentRow();
void SetJobColumnWidth(int32_t column, int32_t width);

// The shell's "open" verb on a path.
void OpenWithShell(const std::string& path);
// The folder window of a file's folder, with the file selected.
void ShowInFolder(const std::string& path);

// One clear message, owned by the main window, for an action that cannot
// start.
void TellUser(const std::string& text);

// Starts `routine` on a thread of its own with `parameter` as its
// argument; false when it could not start.
bool StartWorker(DWORD(WINAPI* routine)(void*), int32_t parameter);

}  // namespace tulvex
