// Control and job-list calls of the program (see window_access.h).
#include "app/window_access.h"

#include "app/control_library_calls.h"
#include "runtime/core_commands.h"
#include "runtime/property_ids.h"
#include "runtime/service_calls.h"

namespace tulvex {
namespace {

Value TextRecord(const std::string& text) { return LendText(text.c_str()); }

// A text array lent to a command: the array block (dimension count 1, the
// element count, then one text pointer per element) lives in this holder
// and points into the caller's strings.
class LentTextArray {
 public:
  explicit LentTextArray(const std::vector<std::string>& texts)
      : block_(kHeaderBytes + texts.size() * sizeof(const char*)) {
    const uint32_t header[2] = {1, static_cast<uint32_t>(texts.size())};
    std::memcpy(block_.data(), header, kHeaderBytes);
    for (size_t i = 0; i < texts.size(); ++i) {
      const char* text = texts[i].c_str();
      std::memcpy(block_.data() + kHeaderBytes + i * sizeof text, &text, sizeof text);
    }
  }
  Value record() const {
    Value value{0, 0, kTagText | kArrayTagFlag};
    StorePointer(value, block_.data());
    return value;
  }

 private:
  static constexpr size_t kHeaderBytes = 2 * sizeof(uint32_t);
  std::vector<uint8_t> block_;
};

bool Succeeded(const Value& result) { return result.word0 != 0; }

}  // namespace

std::string ReadText(uint32_t control, int32_t property) {
  return services::GetProperty(kMainWindow, control, property).text();
}

int32_t ReadNumber(uint32_t control, int32_t property) {
  return services::ReadInteger(services::GetProperty(kMainWindow, control, property).get());
}

bool ReadLogical(uint32_t control, int32_t property) {
  return services::GetProperty(kMainWindow, control, property).get().word0 != 0;
}

void WriteText(uint32_t control, int32_t property, const std::string& text) {
  services::SetProperty(kMainWindow, control, property, TextRecord(text));
}

void WriteNumber(uint32_t control, int32_t property, int32_t number) {
  services::SetProperty(kMainWindow, control, property, MakeInteger(number));
}

void WriteLogical(uint32_t control, int32_t property, bool truth) {
  services::SetProperty(kMainWindow, control, property, MakeLogical(truth));
}

void Show(uint32_t control, bool visible) { WriteLogical(control, kPropertyVisible, visible); }

HWND MainWindowHandle() { return ControlHandle(kWindowItself); }

HWND ControlHandle(uint32_t control) {
  const Value handle = services::Call(GetControlWindowHandle, {Value{kMainWindow, control, 0}});
  // Window handles are 32 significant bits, sign-extended on 64-bit builds.
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(handle.word0)));
}

int32_t RowCount() { return services::ReadInteger(services::CallLibrary(GetRowCount, {JobListReference()})); }

void AppendJobs(const std::vector<std::string>& paths, bool scroll) {
  if (paths.empty()) return;
  const LentTextArray texts(paths);
  // The numbers the rows were given are not needed; the holder frees them.
  services::OwnedValue numbers(services::CallLibrary(AppendNumberedRows, {JobListReference(), texts.record(),
                                                                MakeInteger(kPathColumn), MakeLogical(scroll)}));
}

std::string CellText(int32_t row, int32_t column) {
  services::OwnedValue text(services::CallLibrary(GetCellText, {JobListReference(), MakeInteger(row), MakeInteger(column)}));
  return text.text();
}

void SetCellText(int32_t row, int32_t column, const std::string& text) {
  services::CallLibrary(::SetCellText, {JobListReference(), MakeInteger(row), MakeInteger(column), TextRecord(text)});
}

void EnsureVisible(int32_t row) { services::CallLibrary(EnsureRowVisible, {JobListReference(), MakeInteger(row)}); }

std::vector<int32_t> SelectedRows() {
  services::OwnedValue array(services::CallLibrary(GetSelectedRows, {JobListReference()}));
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

void DeleteJob(int32_t row) { services::CallLibrary(DeleteRow, {JobListReference(), MakeInteger(row)}); }

void DeleteAllJobs() { services::CallLibrary(DeleteAllRows, {JobListReference()}); }

int32_t CurrentRow() { return ReadNumber(kJobList, kListCurrentRow); }

void SetJobColumnWidth(int32_t column, int32_t width) {
  services::CallLibrary(SetColumnWidth, {JobListReference(), MakeInteger(column), MakeInteger(width)});
}

constexpr int32_t kOpenVerb = 4;

void OpenWithShell(const std::string& path) {
  services::CallLibrary(ShellExecuteCommand, {MakeInteger(kOpenVerb), TextRecord(path)});
}

void ShowInFolder(const std::string& path) {
  const std::string selection = "/select,\"" + path + "\"";
  services::CallLibrary(ShellExecuteCommand, {MakeInteger(kOpenVerb), LendText("explorer.exe"), TextRecord(selection)});
}

void TellUser(const std::string& text) {
  MessageBoxA(MainWindowHandle(), text.c_str(), "提示", MB_OK | MB_ICONWARNING);
}

bool StartWorker(DWORD(WINAPI* routine)(void*), int32_t parameter) {
  Value sub_program{0, 0, kTagSubProgram};
  StorePointer(sub_program, reinterpret_cast<const void*>(routine));
  return Succeeded(services::CallLibrary(StartThread, {sub_program, MakeInteger(parameter)}));
}

}  // namespace tulvex
