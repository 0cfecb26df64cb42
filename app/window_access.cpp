// Control and job-list calls of the program (see window_access.h).
#include "app/window_access.h"

#include "app/control_library_calls.h"
#include "runtime/core_commands.h"
#include "runtime/property_ids.h"
#include "runtime/service_calls.h"

namespace tulvex {
namespace {

Value TextRecord(const std::string& text) { return LendText(text.c_str()); }

bool Succeeded(const Value& result) { return result.word0 != 0; }

}  // namespace

std::string ReadText(uint32_t control, int32_t property) {
  return app::GetProperty(kMainWindow, control, property).text();
}

int32_t ReadNumber(uint32_t control, int32_t property) {
  return app::ReadInteger(app::GetProperty(kMainWindow, control, property).get());
}

bool ReadLogical(uint32_t control, int32_t property) {
  return app::GetProperty(kMainWindow, control, property).get().word0 != 0;
}

void WriteText(uint32_t control, int32_t property, const std::string& text) {
  app::SetProperty(kMainWindow, control, property, TextRecord(text));
}

void WriteNumber(uint32_t control, int32_t property, int32_t number) {
  app::SetProperty(kMainWindow, control, property, MakeInteger(number));
}

void WriteLogical(uint32_t control, int32_t property, bool truth) {
  app::SetProperty(kMainWindow, control, property, MakeLogical(truth));
}

void Show(uint32_t control, bool visible) { WriteLogical(control, kPropertyVisible, visible); }

HWND MainWindowHandle() { return ControlHandle(kWindowItself); }

HWND ControlHandle(uint32_t control) {
  const Value handle = app::Call(GetControlWindowHandle, {Value{kMainWindow, control, 0}});
  // Window handles are 32 significant bits, sign-extended on 64-bit builds.
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(handle.word0)));
}

int32_t RowCount() { return app::ReadInteger(app::CallLibrary(GetRowCount, {JobListReference()})); }

void AppendJob(const std::string& path, bool scroll) {
  const int32_t row = app::ReadInteger(app::CallLibrary(InsertRow, {JobListReference()}));
  if (row < 0) return;
  if (scroll) EnsureVisible(row);
  SetCellText(row, 0, std::to_string(RowCount()));
  SetCellText(row, 1, path);
}

std::string CellText(int32_t row, int32_t column) {
  app::OwnedValue text(app::CallLibrary(GetCellText, {JobListReference(), MakeInteger(row), MakeInteger(column)}));
  return text.text();
}

void SetCellText(int32_t row, int32_t column, const std::string& text) {
  app::CallLibrary(::SetCellText, {JobListReference(), MakeInteger(row), MakeInteger(column), TextRecord(text)});
}

void EnsureVisible(int32_t row) { app::CallLibrary(EnsureRowVisible, {JobListReference(), MakeInteger(row)}); }

std::vector<int32_t> SelectedRows() {
  app::OwnedValue array(app::CallLibrary(GetSelectedRows, {JobListReference()}));
  std::vector<int32_t> rows;
  const void* block = PointerOf(array.get());
  if (!block) return rows;
  const auto* elements = static_cast<const uint8_t*>(ArrayElements(block));
  for (uint64_t i = 0; i < ArrayElementCount(block); ++i) {
    int32_t row;
    std::memcpy(&row, elements + i * sizeof row, sizeof row);
    rows.push_back(row);
  }
  return rows;
}

void DeleteJob(int32_t row) { app::CallLibrary(DeleteRow, {JobListReference(), MakeInteger(row)}); }

void DeleteAllJobs() { app::CallLibrary(DeleteAllRows, {JobListReference()}); }

int32_t CurrentRow() { return ReadNumber(kJobList, kListCurrentRow); }

void SetJobColumnWidth(int32_t column, int32_t width) {
  app::CallLibrary(SetColumnWidth, {JobListReference(), MakeInteger(column), MakeInteger(width)});
}

void OpenWithShell(const std::string& path) {
  constexpr int32_t kOpenVerb = 4;
  app::CallLibrary(ShellExecuteCommand, {MakeInteger(kOpenVerb), TextRecord(path)});
}

bool StartWorker(DWORD(WINAPI* routine)(void*)) {
  Value sub_program{0, 0, kTagSubProgram};
  StorePointer(sub_program, reinterpret_cast<const void*>(routine));
  return Succeeded(app::CallLibrary(StartThread, {sub_program}));
}

}  // namespace tulvex
