// The showcase: every control of the library in one window, registered
// through the library's own notification entry, for a screenshot.
//   showcase_app.exe <log file> <signal file>
// A worker started with StartThread fills, changes, selects and deletes rows
// of the report list by command, then clicks the flat button, whose handler
// pops up the component-drawn menu. With the menu open the worker logs
// "ready" and waits for the signal file (the screenshot is taken), then
// closes the menu and the window.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "controls/control_library.h"
#include "controls/report_list.h"
#include "controls/report_list_commands.h"
#include "controls/thread_commands.h"
#include "runtime/application_header.h"
#include "runtime/control_types.h"
#include "runtime/process/runtime_state.h"
#include "runtime/service_calls.h"
#include "runtime/values/constant_data.h"
#include "runtime/windows/popup_menu.h"
#include "runtime/windows/properties.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/templates/template_data.h"
#include "tests/support/child_log.h"
#include "tests/support/condition_wait.h"

namespace {

constexpr uint32_t kMainWindow = 0x52010001;
constexpr uint32_t kList = 2, kMenu = 10, kFlatButton = 20;
const Value kListReference{kMainWindow, kList, kReportListTypeId};
const COLORREF kParentColour = RGB(0xB0, 0xD8, 0xF0);

std::string g_signal_path;

HWND Handle(uint32_t control) { return reinterpret_cast<HWND>(ControlWindowHandle(kMainWindow, control)); }

Value ListCall(Command command, std::vector<Value> args = {}) {
  args.insert(args.begin(), kListReference);
  return CallCommand(command, static_cast<int32_t>(args.size()), args.data());
}

std::string Rows() {
  std::string rows;
  const auto count = static_cast<int32_t>(ListCall(GetRowCount).word0);
  for (int32_t row = 0; row < count; ++row) {
    services::OwnedValue number(ListCall(GetCellText, {MakeInteger(row)}));
    services::OwnedValue state(ListCall(GetCellText, {MakeInteger(row), MakeInteger(2)}));
    rows += std::string(row ? " | " : "") + number.text() + ":" + state.text();
  }
  return rows;
}

void SelectRow(int32_t row) {
  LVITEMA item = {};
  item.state = item.stateMask = LVIS_SELECTED;
  SendMessageA(Handle(kList), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Whether a popup menu (the system's menu window class) is up.
bool MenuShown() {
  const HWND menu = FindWindowA("#32768", nullptr);
  return menu != nullptr && IsWindowVisible(menu);
}

DWORD WINAPI ShowcaseWorker(void* parameter) {
  const auto rows = static_cast<int32_t>(reinterpret_cast<intptr_t>(parameter));
  WaitForCondition([] { return IsWindowVisible(Handle(0)) != FALSE; }, 10000);
  for (int32_t row = 0; row < rows; ++row) {
    const std::string number = std::to_string(row + 1);
    const std::string path = "Z:\\图片\\第" + number + "张照片.png";
    ListCall(InsertRow, {OmittedArgument(), LendText(number.c_str())});
    ListCall(SetCellText, {MakeInteger(row), MakeInteger(1), LendText(path.c_str())});
    ListCall(SetCellText, {MakeInteger(row), MakeInteger(2), LendText("正在转换")});
  }
  for (int32_t row : {0, 1, 3}) ListCall(SetCellText, {MakeInteger(row), MakeInteger(2), LendText("转换成功")});
  ListCall(SetCellText, {MakeInteger(2), MakeInteger(2), LendText("格式不支持")});
  ListCall(DeleteRow, {MakeInteger(rows - 1)});
  WriteProperty(kMainWindow, kList, kListCurrentRow, -1, 1, 0);
  SelectRow(3);
  ListCall(EnsureRowVisible, {MakeInteger(3)});
  services::OwnedValue selected(ListCall(GetSelectedRows));
  Log("rows %s; selected %u", Rows().c_str(), static_cast<unsigned>(ArrayElementCount(PointerOf(selected.get()))));

  // The menu opens from the button's handler, on the window thread.
  PostMessageA(Handle(kFlatButton), BM_CLICK, 0, 0);
  WaitForCondition([] { return MenuShown(); }, 10000);
  Log("ready");
  WaitForCondition([] { return GetFileAttributesA(g_signal_path.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
  PostMessageA(Handle(0), WM_KEYDOWN, VK_ESCAPE, 0);
  WaitForCondition([] { return !MenuShown(); }, 10000);
  PostMessageA(Handle(0), WM_CLOSE, 0, 0);
  return 0;
}

// The library's own entry, with a look at what it answered.
uintptr_t ShowcaseLibraryEntry(int32_t code, uintptr_t arg1, uintptr_t arg2) {
  const uintptr_t answer = ControlLibraryNotification(code, arg1, arg2);
  if (code == kLibraryNotifyStart) Log("library registered %u types", static_cast<unsigned>(answer));
  return answer;
}

const LibraryEntry kLibraries[] = {{"control library", ShowcaseLibraryEntry}};

}  // namespace

extern "C" int32_t ShowcaseWindowCreated(int32_t, const Value*) {
  // A coloured window under the transparent label.
  const HWND window = Handle(0);
  SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(CreateSolidBrush(kParentColour)));
  InvalidateRect(window, nullptr, TRUE);
  Value routine{0, 0, kTagSubProgram};
  StorePointer(routine, reinterpret_cast<const void*>(&ShowcaseWorker));
  const Value args[] = {routine, MakeInteger(6)};
  Log("worker started=%u", CallCommand(StartThread, 2, args).word0);
  return 0;
}

extern "C" int32_t ShowcaseButtonClicked(int32_t, const Value*) {
  const Value args[] = {Value{kMainWindow, kMenu, kMenuTypeId}, OmittedArgument(), OmittedArgument()};
  CallCommand(PopUpMenu, 3, args);
  Log("menu closed");
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  StartChildLog(argv[1]);
  g_signal_path = argv[2];
  const ApplicationHeader header = {ProgramCodeBase(), ConstantDataStart(), ConstantDataSize(), TulvexTemplateData,
                                    TulvexTemplateDataSize, 1, kLibraries, 0, nullptr, nullptr};
  SetErrorHandler(LogError);
  InitialiseRuntime(header);
  LoadStartWindow(kMainWindow);
  RunMessageLoop();
  Log("loop returned");
  ExitProgram(0);
}
