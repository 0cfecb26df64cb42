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

// The job list.
int32_t RowCount();
// Appends a row numbered with the row count after insertion; `scroll`
// makes it visible (the folder scan does, the dialog does not).
void AppendJob(const std::string& path, bool scroll);
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

// Starts `routine` on a thread of its own; false when it could not start.
bool StartWorker(DWORD(WINAPI* routine)(void*));

}  // namespace tulvex
