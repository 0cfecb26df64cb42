// A small application on the runtime with one report list, started by the
// report-list tests as a child process: report_list_app.exe <scenario> <log>.
// Its handlers drive the list through the library's commands (and a worker
// started with StartThread) and write what they see into the log, one line
// per observation, for the test to compare.
//   commands     creation, the nine commands, events, then a worker
//   too_new      loads a window whose list record is of a newer version
//   damaged      loads a window whose list record runs past its end
//   bad_font     loads a window whose list has a font block of 59 bytes
//   input        mouse input on rows, check box and header, label edits
//                and info tips, driven from a worker thread
//   folder       opens the folder dialog beside a disabled second window
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/folder_dialog.h"
#include "controls/report_list.h"
#include "controls/report_list_commands.h"
#include "controls/thread_commands.h"
#include "runtime/application_header.h"
#include "runtime/control_types.h"
#include "runtime/process/runtime_state.h"
#include "runtime/service_calls.h"
#include "runtime/values/constant_data.h"
#include "runtime/windows/loaded_windows.h"
#include "runtime/windows/properties.h"
#include "runtime/windows/templates/template_data.h"
#include "tests/controls/programs/window_thread_idle.h"
#include "tests/support/child_log.h"

namespace {

constexpr uint32_t kMainWindow = 0x52010001, kSecondWindow = 0x52010004;
constexpr uint32_t kTooNewWindow = 0x52010002, kDamagedWindow = 0x52010003, kBadFontWindow = 0x52010005;
constexpr uint32_t kList = 1;
const Value kListReference{kMainWindow, kList, kReportListTypeId};

std::string g_scenario;

// The state image list that the list's own replaced (with check boxes the
// platform makes one), seen by its bitmap as the replacing message returns.
HBITMAP g_replaced_state_bitmap = nullptr;
HHOOK g_image_list_hook = nullptr;

LRESULT CALLBACK ImageListHook(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
  IMAGEINFO info = {};
  if (code == HC_ACTION && call->message == LVM_SETIMAGELIST && call->wParam == LVSIL_STATE && call->lResult &&
      ImageList_GetImageInfo(reinterpret_cast<HIMAGELIST>(call->lResult), 0, &info))
    g_replaced_state_bitmap = info.hbmImage;
  return CallNextHookEx(g_image_list_hook, code, wparam, lparam);
}

HWND ListWindow() { return ControlWindowHandleOf(kListReference); }

// Calls a list command with the list and `args` after it.
Value ListCall(Command command, std::vector<Value> args = {}) {
  args.insert(args.begin(), kListReference);
  return CallCommand(command, static_cast<int32_t>(args.size()), args.data());
}

int32_t ListNumber(Command command, std::vector<Value> args = {}) {
  return static_cast<int32_t>(ListCall(command, std::move(args)).word0);
}

std::string CellText(int32_t row, int32_t column) {
  services::OwnedValue text(ListCall(GetCellText, {MakeInteger(row), MakeInteger(column)}));
  return text.text();
}

std::string Rows() {
  std::string texts;
  const int32_t count = ListNumber(GetRowCount);
  for (int32_t row = 0; row < count; ++row) texts += (row ? "|" : "") + CellText(row, 0);
  return texts;
}

std::string SelectedRows() {
  services::OwnedValue rows(ListCall(GetSelectedRows));
  const void* array = PointerOf(rows.get());
  std::string text = "dims=" + std::to_string(ArrayDimensionCount(array)) + " rows=";
  for (uint64_t i = 0; i < ArrayElementCount(array); ++i) {
    int32_t row;
    std::memcpy(&row, ArrayElements(array) + 4 * i, 4);
    text += (i ? "," : "") + std::to_string(row);
  }
  return text + (rows.get().tag == (kTagInteger | kArrayTagFlag) ? "" : " (not an integer array)");
}

int32_t Property(int32_t property) {
  return static_cast<int32_t>(ReadProperty(kMainWindow, kList, property, -1).word0);
}

void SetRowState(int32_t row, UINT state, UINT mask) {
  LVITEMA item = {};
  item.state = state;
  item.stateMask = mask;
  SendMessageA(ListWindow(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int ColumnWidth(int column) {
  return static_cast<int>(SendMessageA(ListWindow(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

uintptr_t ListLibraryNotification(int32_t code, uintptr_t arg1, uintptr_t) {
  if (code != kLibraryNotifyStart) return 0;
  const auto callback = reinterpret_cast<RuntimeCallback>(arg1);
  return callback(kRuntimeRequestRegisterType, reinterpret_cast<uintptr_t>(ReportListControlType()), 0);
}

const LibraryEntry kLibraries[] = {{"list library", ListLibraryNotification}};

int ImageOf(int32_t row, int32_t column) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iSubItem = column;
  SendMessageA(ListWindow(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

void WriteListProperty(int32_t property, int32_t number) {
  ::WriteProperty(kMainWindow, kList, property, -1, static_cast<uint32_t>(number), 0);
}

// Properties written at run time reach the platform control.
void LogPropertyWrites() {
  const HWND list = ListWindow();
  WriteListProperty(kListCurrentRow, 0);
  const std::string selected = SelectedRows();
  WriteListProperty(kListGridLines, 0);
  WriteListProperty(kListBorder, 5);
  WriteListProperty(kListViewType, 2);
  const auto style = GetWindowLongPtrA(list, GWL_STYLE);
  Log("written current=%d %s grid=%d,%d border=%d,%d,%d view=%d,%d", Property(kListCurrentRow), selected.c_str(),
      Property(kListGridLines), (SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES) != 0,
      Property(kListBorder), (style & WS_BORDER) != 0, (GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0,
      Property(kListViewType), (style & LVS_TYPEMASK) == LVS_LIST);
  WriteListProperty(kListViewType, 3);
  WriteListProperty(kListBorder, 1);
  WriteListProperty(kListGridLines, 1);
}

void LogCreation() {
  const HWND list = ListWindow();
  const auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  std::string headers;
  for (int column = 0; column < 3; ++column) {
    char text[64] = {};
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    headers += (column ? "|" : "") + std::string(text) + ":" + std::to_string(ColumnWidth(column));
  }
  Log("columns=%d %s", static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)), headers.c_str());
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = 1;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  Log("rows=%s|%s|%s / %s|%s|%s data=%d current=%d", CellText(0, 0).c_str(), CellText(0, 1).c_str(),
      CellText(0, 2).c_str(), CellText(1, 0).c_str(), CellText(1, 1).c_str(), CellText(1, 2).c_str(),
      static_cast<int>(item.lParam), Property(kListCurrentRow));
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), sizeof font, &font);
  Log("font=%s %d %d extended=%#x client-edge=%d", font.lfFaceName, static_cast<int>(font.lfHeight),
      static_cast<int>(font.lfWeight), static_cast<unsigned>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)),
      (GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  Log("images=%d,%d,%d count=%d", ImageOf(0, 0), ImageOf(0, 1), ImageOf(1, 0),
      images ? ImageList_GetImageCount(images) : -1);
  const auto states = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
  Log("state images=%d replaced freed=%d", states ? ImageList_GetImageCount(states) : -1,
      g_replaced_state_bitmap && GetObjectType(g_replaced_state_bitmap) == 0);
  Log("view=%d editing=%d single=%d keep=%d border=%d text=%#x background=%#x painted=%d",
      Property(kListViewType), Property(kListLabelEditing), Property(kListSingleSelection),
      Property(kListKeepSelectionVisible), Property(kListBorder), Property(kListTextColour),
      Property(kListBackground),
      SendMessageA(list, LVM_GETBKCOLOR, 0, 0) == static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
}

void LogInsertions() {
  const int32_t appended = ListNumber(InsertRow);
  const int32_t below = ListNumber(InsertRow, {MakeInteger(-5), LendText("尾")});
  const int32_t top = ListNumber(InsertRow, {MakeInteger(0), LendText("首"), OmittedArgument(), OmittedArgument(),
                                             OmittedArgument(), MakeInteger(77)});
  Log("insert=%d,%d,%d order=%s", appended, below, top, Rows().c_str());
}

void LogLongTexts() {
  std::string results;
  for (size_t length : {510u, 511u, 512u, 1023u, 1500u}) {
    const std::string text(length, static_cast<char>('a' + length % 26));
    const bool set = ListCall(SetCellText, {MakeInteger(1), MakeInteger(1), LendText(text.c_str())}).word0 != 0;
    const std::string back = CellText(1, 1);
    results += " " + std::to_string(length) + ":" + std::to_string(set) + "," + std::to_string(back.size()) +
               (back == text ? "" : "(differs)");
  }
  const Value missing = ListCall(GetCellText, {MakeInteger(99)});
  ListCall(SetCellText, {MakeInteger(1), MakeInteger(1)});
  Log("texts%s missing=%s cleared=%s", results.c_str(), PointerOf(missing) ? "text" : "null",
      CellText(1, 1).empty() ? "empty" : CellText(1, 1).c_str());
}

void LogSelection() {
  const int32_t deleted = ListNumber(DeleteAllRows);
  const int32_t deleted_empty = ListNumber(DeleteAllRows);
  for (int32_t row = 0; row < 9; ++row) ListCall(InsertRow, {OmittedArgument(), LendText(std::to_string(row).c_str())});
  const std::string none = SelectedRows();
  for (int32_t row : {4, 1, 7}) SetRowState(row, LVIS_SELECTED, LVIS_SELECTED);
  Log("delete-all=%d,%d none=%s chosen=%s", deleted, deleted_empty, none.c_str(), SelectedRows().c_str());
  // One call a statement: the order of a call's arguments is not fixed.
  const int32_t missing_row = ListNumber(DeleteRow, {MakeInteger(99)});
  const int32_t first_row = ListNumber(DeleteRow, {MakeInteger(0)});
  const std::string rows = Rows();
  const int32_t visible = ListNumber(EnsureRowVisible, {MakeInteger(7)});
  const int32_t missing_visible = ListNumber(EnsureRowVisible, {MakeInteger(99)});
  Log("delete-row=%d,%d rows=%s visible=%d,%d", missing_row, first_row, rows.c_str(), visible, missing_visible);
}

// Widths: an explicit one as given; omitted fits the contents; -3 acts as -2
// (fits the header); the two fits differ for this column.
void LogColumnWidths() {
  ListCall(SetCellText, {MakeInteger(0), MakeInteger(2), LendText("一段比列标题长得多的状态文字")});
  const int32_t set = ListNumber(SetColumnWidth, {MakeInteger(2), MakeInteger(123)});
  const int given = ColumnWidth(2);
  ListCall(SetColumnWidth, {MakeInteger(2)});
  const int contents = ColumnWidth(2);
  ListCall(SetColumnWidth, {MakeInteger(2), MakeInteger(-3)});
  const int header = ColumnWidth(2);
  SendMessageA(ListWindow(), LVM_SETCOLUMNWIDTH, 2, LVSCW_AUTOSIZE);
  const int contents_direct = ColumnWidth(2);
  SendMessageA(ListWindow(), LVM_SETCOLUMNWIDTH, 2, LVSCW_AUTOSIZE_USEHEADER);
  const int header_direct = ColumnWidth(2);
  Log("width set=%d given=%d contents=%s header=%s fits-differ=%d missing-column=%d", set, given,
      contents == contents_direct ? "fits" : "wrong", header == header_direct ? "fits" : "wrong",
      contents != header, ListNumber(SetColumnWidth, {MakeInteger(9), MakeInteger(50)}));
}

// The worker: rows inserted and changed through the commands from a thread
// that is not the window thread, then the window is closed.
DWORD WINAPI ListWorker(void* parameter) {
  const auto rows = static_cast<int32_t>(reinterpret_cast<intptr_t>(parameter));
  ListCall(DeleteAllRows);
  for (int32_t row = 0; row < rows; ++row) {
    const std::string text = "线程" + std::to_string(row);
    ListCall(InsertRow, {OmittedArgument(), LendText(text.c_str())});
    ListCall(SetCellText, {MakeInteger(row), MakeInteger(2), LendText("转换成功")});
  }
  SetRowState(rows - 1, LVIS_SELECTED, LVIS_SELECTED);
  Log("worker parameter=%d rows=%s state=%s selected=%s", rows, Rows().c_str(), CellText(rows - 1, 2).c_str(),
      SelectedRows().c_str());
  PostMessageA(reinterpret_cast<HWND>(ControlWindowHandle(kMainWindow, 0)), WM_CLOSE, 0, 0);
  return 0;
}

void StartWorker() {
  Value routine{0, 0, kTagSubProgram};
  StorePointer(routine, reinterpret_cast<const void*>(&ListWorker));
  const Value args[] = {routine, MakeInteger(3)};
  const Value started = CallCommand(StartThread, 2, args);
  Log("worker started=%d", static_cast<int>(started.word0));
}

// --- input: driven from a worker, observed by the handlers ----------------

HWND MainWindow() { return reinterpret_cast<HWND>(ControlWindowHandle(kMainWindow, 0)); }

void ClickAt(POINT point, DWORD down, DWORD up, int clicks = 1) {
  SetCursorPos(point.x, point.y);
  for (int click = 0; click < clicks; ++click) {
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = down;
    press[1].mi.dwFlags = up;
    SendInput(2, press, sizeof(INPUT));
  }
  WaitForWindowThreadIdle();  // the input is handled and its events logged
}

POINT OnScreen(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  return point;
}

POINT RowLabel(int32_t row) {
  RECT rect = {};
  rect.left = LVIR_LABEL;
  SendMessageA(ListWindow(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  return OnScreen(ListWindow(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// The first point of the row, from its left edge, on its check box.
POINT RowCheckBox(int32_t row) {
  RECT rect = {};
  rect.left = LVIR_BOUNDS;
  SendMessageA(ListWindow(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  const int y = (rect.top + rect.bottom) / 2;
  for (int x = rect.left; x < rect.left + 60; ++x) {
    LVHITTESTINFO hit = {};
    hit.pt = {x, y};
    SendMessageA(ListWindow(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON)) return OnScreen(ListWindow(), x + 3, y);
  }
  Log("no check box found on row %d", row);
  return OnScreen(ListWindow(), rect.left + 8, y);
}

POINT HeaderColumn(int column) {
  const auto header = reinterpret_cast<HWND>(SendMessageA(ListWindow(), LVM_GETHEADER, 0, 0));
  RECT rect = {};
  SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect));
  return OnScreen(header, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// Ends an edit by a key in the list's edit box, with `text`: Return keeps
// it, Escape cancels the edit.
void EditLabel(int32_t row, const char* text, WPARAM key = VK_RETURN) {
  const auto edit = reinterpret_cast<HWND>(SendMessageA(ListWindow(), LVM_EDITLABELA, static_cast<WPARAM>(row), 0));
  Log("edit row=%d started=%d", row, edit != nullptr);
  if (!edit) return;
  SetWindowTextA(edit, text);
  SendMessageA(edit, WM_KEYDOWN, key, 0);
  Log("edit row=%d text=%s", row, CellText(row, 0).c_str());
}

// The tip the list gives for a row, asked the way the platform asks: a
// notification to the window, reflected to the list.
std::string InfoTip(int32_t row) {
  char text[80] = "(untouched)";
  NMLVGETINFOTIPA tip = {};
  tip.hdr.hwndFrom = ListWindow();
  tip.hdr.idFrom = kList;
  tip.hdr.code = LVN_GETINFOTIPA;
  tip.pszText = text;
  tip.cchTextMax = sizeof text;
  tip.iItem = row;
  SendMessageA(MainWindow(), WM_NOTIFY, kList, reinterpret_cast<LPARAM>(&tip));
  return text;
}

DWORD WINAPI InputWorker(void*) {
  WaitForWindowThreadIdle();
  SetForegroundWindow(MainWindow());
  Log("click row 0");
  ClickAt(RowLabel(0), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  Log("right-click row 1");
  ClickAt(RowLabel(1), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  Log("click check box of row 0");
  ClickAt(RowCheckBox(0), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  Log("click header of column 2");
  ClickAt(HeaderColumn(2), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  Log("double-click row 1");
  ClickAt(RowLabel(1), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);

  EditLabel(0, "不许");
  EditLabel(1, "拒绝");
  EditLabel(1, "新名字");
  EditLabel(1, "作废", VK_ESCAPE);

  // Hot tracking switched on at run time: the hand over the hot row.
  ::WriteProperty(kMainWindow, kList, kListHotTracking, -1, 1, 0);
  const auto hot_cursor = reinterpret_cast<HCURSOR>(SendMessageA(ListWindow(), LVM_GETHOTCURSOR, 0, 0));
  Log("hot tracking=%d hand=%d", Property(kListHotTracking),
      hot_cursor == LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  // The platform here announces no hot rows of its own; its notifications
  // are sent the way it would send them, for every move: row 1 twice, no
  // row, row 1 again, row 0.
  for (int row : {1, 1, -1, 1, 0}) {
    NMLISTVIEW track = {};
    track.hdr = {ListWindow(), kList, static_cast<UINT>(LVN_HOTTRACK)};
    track.iItem = row;
    SendMessageA(MainWindow(), WM_NOTIFY, kList, reinterpret_cast<LPARAM>(&track));
  }
  ::WriteProperty(kMainWindow, kList, kListHotTracking, -1, 0, 0);

  // Tips follow their rows when a row is inserted above them.
  ListCall(InsertRow, {MakeInteger(0), LendText("新行")});
  Log("tips=%s|%s|%s", InfoTip(0).c_str(), InfoTip(1).c_str(), InfoTip(2).c_str());
  PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
  return 0;
}

// The folder dialog between a disabled second window and the main window.
void RunFolderDialog() {
  if (!LoadWindow(kSecondWindow)) Log("second window not loaded");
  const HWND second = reinterpret_cast<HWND>(ControlWindowHandle(kSecondWindow, 0));
  const HWND main = reinterpret_cast<HWND>(ControlWindowHandle(kMainWindow, 0));
  EnableWindow(second, FALSE);
  SetActiveWindow(main);
  Log("folder dialog opens");
  const Value title = LendText("请选择图片所在的文件夹");
  services::OwnedValue path(CallCommand(BrowseForFolder, 1, &title));
  Log("folder=%s main-enabled=%d second-enabled=%d", path.text(), IsWindowEnabled(main) != 0,
      IsWindowEnabled(second) != 0);
  PostMessageA(second, WM_CLOSE, 0, 0);
  PostMessageA(main, WM_CLOSE, 0, 0);
}

}  // namespace

extern "C" int32_t ListWindowCreated(int32_t, const Value*) {
  if (g_scenario == "folder") {
    // After the window is shown and the loop runs.
    PostMessageA(reinterpret_cast<HWND>(ControlWindowHandle(kMainWindow, 0)), WM_APP, 0, 0);
    return 0;
  }
  if (g_scenario == "input") {
    WatchWindowThreadIdle(MainWindow());
    Value routine{0, 0, kTagSubProgram};
    StorePointer(routine, reinterpret_cast<const void*>(&InputWorker));
    CallCommand(StartThread, 1, &routine);
    return 0;
  }
  LogCreation();
  LogPropertyWrites();
  LogInsertions();
  LogLongTexts();
  LogSelection();
  LogColumnWidths();
  // Events: the focus moved by the program, and the space key on the
  // focused row of a list with check boxes.
  SetRowState(2, LVIS_FOCUSED, LVIS_FOCUSED);
  SetFocus(ListWindow());
  SendMessageA(ListWindow(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(ListWindow(), WM_KEYUP, VK_SPACE, 0);
  return 0;
}

extern "C" int32_t ListCurrentRowChanged(int32_t count, const Value*) {
  Log("event current row changed count=%d current=%d", count, Property(kListCurrentRow));
  return 0;
}

extern "C" int32_t ListRowActivated(int32_t count, const Value*) {
  Log("event activated count=%d current=%d", count, Property(kListCurrentRow));
  return 0;
}

extern "C" int32_t ListHeaderClicked(int32_t count, const Value* args) {
  Log("event header clicked column=%d", count > 0 ? static_cast<int32_t>(args[0].word0) : -9);
  return 0;
}

extern "C" int32_t ListHotRowChanged(int32_t count, const Value* args) {
  Log("event hot row=%d", count > 0 ? static_cast<int32_t>(args[0].word0) : -9);
  return 0;
}

extern "C" int32_t ListClicked(int32_t count, const Value*) {
  Log("event clicked count=%d", count);
  return 0;
}

extern "C" int32_t ListRightClicked(int32_t count, const Value*) {
  Log("event right-clicked count=%d", count);
  return 0;
}

// Row 0 may not be edited; a new text "拒绝" is refused.
extern "C" int32_t ListLabelEditStarting(int32_t count, const Value* args) {
  const int32_t row = count > 0 ? static_cast<int32_t>(args[0].word0) : -9;
  Log("event edit starting row=%d", row);
  return row != 0;
}

extern "C" int32_t ListLabelEditEnded(int32_t count, const Value* args) {
  services::OwnedValue text(ReadProperty(kMainWindow, kList, kListEditedText, -1));
  Log("event edit ended row=%d text=%s", count > 0 ? static_cast<int32_t>(args[0].word0) : -9, text.text());
  return std::strcmp(text.text(), "拒绝") != 0;
}

extern "C" int32_t ListCheckStateChanged(int32_t count, const Value* args) {
  Log("event check count=%d row=%d state=%d", count, count > 0 ? static_cast<int32_t>(args[0].word0) : -9,
      count > 1 ? static_cast<int32_t>(args[1].word0) : -9);
  if (g_scenario == "commands") StartWorker();
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  StartChildLog(argv[2]);
  g_scenario = argv[1];

  const ApplicationHeader header = {ProgramCodeBase(), ConstantDataStart(), ConstantDataSize(), TulvexTemplateData,
                                    TulvexTemplateDataSize, 1, kLibraries, 0, nullptr, nullptr};
  SetErrorHandler(LogError);
  InitialiseRuntime(header);
  g_image_list_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, ImageListHook, nullptr, GetCurrentThreadId());
  uint32_t start = kMainWindow;
  if (g_scenario == "too_new") start = kTooNewWindow;
  if (g_scenario == "damaged") start = kDamagedWindow;
  if (g_scenario == "bad_font") start = kBadFontWindow;
  LoadStartWindow(start);
  if (g_scenario == "folder") {
    // The dialog runs from the loop, as a handler would run it.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      if (message.message == WM_APP && message.hwnd == reinterpret_cast<HWND>(ControlWindowHandle(kMainWindow, 0))) {
        RunFolderDialog();
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  } else {
    RunMessageLoop();
  }
  Log("loop returned");
  ExitProgram(0);
}
