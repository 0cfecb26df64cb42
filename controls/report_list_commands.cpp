// The report list's commands: each is one list-view message sent to the
// list named by argument 0.
#include "controls/report_list_commands.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "controls/command_arguments.h"
#include "controls/report_list.h"
#include "controls/report_list_state.h"

using controls::ArgumentOfType;
using controls::IntegerArgument;
using controls::IsGiven;
using controls::TextArgument;

namespace {

constexpr char kNoListMessage[] = "未载入欲访问窗口组件所在的窗口";
constexpr size_t kFirstTextBuffer = 512;
constexpr size_t kLargestTextBuffer = size_t{1} << 30;  // the platform counts in int
// AppendNumberedRows writes each row's number into the first column and its
// text into a later one.
constexpr int32_t kFirstTextColumn = 1;

// The list's window; a reference to no loaded list is a fatal error.
HWND ListOf(int32_t count, const Value* args) {
  const HWND list = reinterpret_cast<HWND>(ControlWindowHandleOf(ArgumentOfType(count, args, 0, kReportListTypeId)));
  if (!list) ReportRuntimeError(kNoListMessage, 0);
  return list;
}

LRESULT Send(HWND list, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return SendMessageA(list, message, wparam, lparam);
}

// The cell that arguments 1 (row) and 2 (column, 0 when omitted) name, as
// the item of a cell-text message to the list.
struct Cell {
  HWND list;
  WPARAM row;
  LVITEMA item;
};

Cell CellOf(int32_t count, const Value* args) {
  Cell cell{ListOf(count, args), static_cast<WPARAM>(IntegerArgument(count, args, 1, 0)), {}};
  cell.item.iSubItem = IntegerArgument(count, args, 2, 0);
  return cell;
}

// One AppendNumberedRows call, waiting for the list's thread.
struct AppendRowsRequest {
  HWND list;
  std::vector<const char*> texts;
  int32_t column;
  bool scroll;
  std::vector<int32_t> numbers;  // filled on the list's thread
};

// The requests whose commands wait in SendMessage: the list acts only on
// one of these, never on a pointer that came from elsewhere.
std::mutex g_waiting_lock;
std::set<AppendRowsRequest*> g_waiting;

// Takes `request` out when a command waits for it on `list`.
bool TakeWaiting(AppendRowsRequest* request, HWND list) {
  std::lock_guard<std::mutex> hold(g_waiting_lock);
  if (g_waiting.count(request) == 0 || request->list != list) return false;
  g_waiting.erase(request);
  return true;
}

// The texts of a text-array argument; null elements are empty texts.
std::vector<const char*> TextsOfArray(int32_t count, const Value* args, int32_t index) {
  const void* array = PointerOf(ArgumentOfType(count, args, index, kTagText | kArrayTagFlag));
  std::vector<const char*> texts(static_cast<size_t>(ArrayElementCount(array)));
  const uint8_t* elements = array ? ArrayElements(array) : nullptr;
  for (size_t i = 0; i < texts.size(); ++i) {
    std::memcpy(&texts[i], elements + i * sizeof(const char*), sizeof(const char*));
    if (!texts[i]) texts[i] = "";
  }
  return texts;
}

void AppendRows(AppendRowsRequest& request) {
  const HWND list = request.list;
  Send(list, WM_SETREDRAW, FALSE);
  Send(list, LVM_SETITEMCOUNT, Send(list, LVM_GETITEMCOUNT) + request.texts.size(), LVSICF_NOINVALIDATEALL);
  int last = -1;
  for (const char* text : request.texts) {
    // Appended, the row's number is the row count after it went in.
    const auto row = static_cast<int32_t>(Send(list, LVM_GETITEMCOUNT));
    std::string number = std::to_string(row + 1);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    item.pszText = &number[0];
    item.iImage = -1;
    last = static_cast<int>(Send(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (last < 0) break;
    LVITEMA cell = {};
    cell.iSubItem = request.column;
    cell.pszText = const_cast<char*>(text);
    Send(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&cell));
    request.numbers.push_back(row + 1);
  }
  Send(list, WM_SETREDRAW, TRUE);
  InvalidateRect(list, nullptr, TRUE);
  if (request.scroll && last >= 0) Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(last), FALSE);
}

}  // namespace

void InsertRow(Value* result, int32_t count, const Value* args) {
  const HWND list = ListOf(count, args);
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
  const int32_t position = IntegerArgument(count, args, 1, -1);
  item.iItem = position >= 0 ? position : static_cast<int>(Send(list, LVM_GETITEMCOUNT));
  item.pszText = const_cast<char*>(TextArgument(count, args, 2));
  const int32_t image = IntegerArgument(count, args, 3, -1);
  item.iImage = image < -1 ? -1 : image;
  if (IsGiven(count, args, 4)) {
    item.state = controls::StateImageBits(IntegerArgument(count, args, 4, 0));
    item.stateMask = 0;  // the platform decides whether it applies the state here
  }
  if (IsGiven(count, args, 5)) {
    const int32_t indent = IntegerArgument(count, args, 5, 0);
    item.iIndent = indent > 0 ? indent : 0;
  }
  item.lParam = IntegerArgument(count, args, 6, 0);
  *result = MakeInteger(static_cast<int32_t>(Send(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item))));
}

void SetCellText(Value* result, int32_t count, const Value* args) {
  Cell cell = CellOf(count, args);
  cell.item.pszText = const_cast<char*>(TextArgument(count, args, 3));
  *result = MakeLogical(Send(cell.list, LVM_SETITEMTEXTA, cell.row, reinterpret_cast<LPARAM>(&cell.item)) != 0);
}

void GetCellText(Value* result, int32_t count, const Value* args) {
  Cell cell = CellOf(count, args);
  // The platform says only how much it copied: a text that fills the buffer
  // up to its last byte but one may have been cut, so the buffer doubles.
  std::vector<char> buffer;
  size_t length = 0;
  for (size_t size = kFirstTextBuffer;; size *= 2) {
    buffer.assign(size, '\0');
    cell.item.pszText = buffer.data();
    cell.item.cchTextMax = static_cast<int>(size);
    length = static_cast<size_t>(Send(cell.list, LVM_GETITEMTEXTA, cell.row, reinterpret_cast<LPARAM>(&cell.item)));
    if (length < size - 1 || size >= kLargestTextBuffer) break;
  }
  *result = NewTextValue(buffer.data(), length);
}

void GetRowCount(Value* result, int32_t count, const Value* args) {
  *result = MakeInteger(static_cast<int32_t>(Send(ListOf(count, args), LVM_GETITEMCOUNT)));
}

void GetSelectedRows(Value* result, int32_t count, const Value* args) {
  const HWND list = ListOf(count, args);
  std::vector<int32_t> rows;
  for (auto row = static_cast<int32_t>(Send(list, LVM_GETNEXTITEM, controls::kBeforeFirstRow, LVNI_SELECTED));
       row >= 0; row = static_cast<int32_t>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) {
    rows.push_back(row);
  }
  *result = controls::NewIntegerArrayValue(rows);
}

void DeleteRow(Value* result, int32_t count, const Value* args) {
  const HWND list = ListOf(count, args);
  const int32_t row = IntegerArgument(count, args, 1, 0);
  *result = MakeLogical(Send(list, LVM_DELETEITEM, static_cast<WPARAM>(row)) != 0);
}

void DeleteAllRows(Value* result, int32_t count, const Value* args) {
  *result = MakeLogical(Send(ListOf(count, args), LVM_DELETEALLITEMS) != 0);
}

void EnsureRowVisible(Value* result, int32_t count, const Value* args) {
  const HWND list = ListOf(count, args);
  const int32_t row = IntegerArgument(count, args, 1, 0);
  // FALSE: partial visibility does not count.
  *result = MakeLogical(Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE) != 0);
}

uint16_t ColumnWidthToPass(bool given, int32_t width) {
  if (!given) width = -1;
  if (width < -2) width = -2;
  return static_cast<uint16_t>(static_cast<uint32_t>(width) & 0xFFFF);
}

void SetColumnWidth(Value* result, int32_t count, const Value* args) {
  const HWND list = ListOf(count, args);
  const int32_t column = IntegerArgument(count, args, 1, 0);
  const uint16_t width = ColumnWidthToPass(IsGiven(count, args, 2), IntegerArgument(count, args, 2, -1));
  *result = MakeLogical(Send(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)) != 0);
}

LRESULT AppendRowsOnListThread(HWND list, LPARAM lparam) {
  auto* request = reinterpret_cast<AppendRowsRequest*>(lparam);
  if (!TakeWaiting(request, list)) return 0;
  AppendRows(*request);
  return 1;
}

void AppendNumberedRows(Value* result, int32_t count, const Value* args) {
  AppendRowsRequest request{ListOf(count, args), TextsOfArray(count, args, 1),
                            IntegerArgument(count, args, 2, kFirstTextColumn),
                            controls::LogicalArgument(count, args, 3, false), {}};
  if (request.column < kFirstTextColumn) ReportRuntimeErrorCode(controls::kWrongArgumentTypeError);
  {
    std::lock_guard<std::mutex> hold(g_waiting_lock);
    g_waiting.insert(&request);
  }
  // The list's thread takes the request out; should the list be gone, this
  // thread does, and no row was added.
  Send(request.list, kAppendRowsMessage, 0, reinterpret_cast<LPARAM>(&request));
  TakeWaiting(&request, request.list);

  *result = controls::NewIntegerArrayValue(request.numbers);
}
