// Program start, control discovery and the user's actions on the main
// window. Places are those of the window's layout in client coordinates.
#include "tests/app/driver/main_window.h"

#include <commctrl.h>

#include "tests/app/driver/remote_controls.h"
#include "tests/app/driver/system_dialogs.h"
#include "tests/app/driver/user_input.h"
#include "tests/app/driver/window_search.h"

namespace {

constexpr DWORD kStartTimeoutMs = 30000;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

HWND VisibleMenuWindow(DWORD process_id) { return FirstTopLevelWindow(process_id, "#32768", ""); }

}  // namespace

ProgramSession::ProgramSession(const std::string& program, const std::string& caption_prefix) {
  std::string command = "\"" + program + "\"";
  const std::string folder = FolderOf(program);
  STARTUPINFOA startup = {sizeof startup};
  if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process_)) {
    error_ = "cannot start " + program + ": error " + std::to_string(GetLastError());
    return;
  }
  const bool shown = WaitUntil([&] {
    controls_.window = FirstTopLevelWindow(process_.dwProcessId, "", caption_prefix);
    return controls_.window != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
  }, kStartTimeoutMs);
  if (!shown || !controls_.window) {
    error_ = "no window captioned \"" + caption_prefix + "...\" appeared";
    return;
  }
  // Let the window finish its creation handler (settings, combo box).
  WaitUntil([&] { return Responsive(); }, 5000);
  Sleep(300);
  FindControls();
}

ProgramSession::~ProgramSession() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) Close();
  if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 99);
  WaitForSingleObject(process_.hProcess, 5000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool ProgramSession::FindControls() {
  MainWindowControls& c = controls_;
  const std::vector<HWND> lists = ChildWindows(c.window, WC_LISTVIEWA);
  c.list = lists.empty() ? nullptr : lists.front();
  c.add = ChildWithCaption(c.window, "Button", "添加");
  c.remove = ChildWithCaption(c.window, "Button", "删除");
  c.clear = ChildWithCaption(c.window, "Button", "清空");
  c.start = ChildWithCaption(c.window, "Button", "开始转换");
  c.cancel = ChildWithCaption(c.window, "Button", "取消");
  c.browse = ChildWithCaption(c.window, "Button", "浏览");
  c.open_folder = ChildWithCaption(c.window, "Button", "打开");
  c.keep_dates = ChildWithCaption(c.window, "Button", "保留文件日期");
  c.quality = ChildNearest(c.window, "Edit", 296, 8);
  c.save_folder = ChildNearest(c.window, "Edit", 455, 8);
  c.save_mode = ChildNearest(c.window, "ComboBox", 373, 10);
  const std::vector<HWND> bars = ChildWindows(c.window, PROGRESS_CLASSA);
  c.progress = bars.empty() ? nullptr : bars.front();
  std::string missing;
  const std::pair<HWND, const char*> all[] = {
      {c.list, "list"}, {c.add, "添加"}, {c.remove, "删除"}, {c.clear, "清空"}, {c.start, "开始转换"},
      {c.cancel, "取消"}, {c.browse, "浏览"}, {c.open_folder, "打开"}, {c.quality, "quality edit"},
      {c.save_folder, "save-folder edit"}, {c.save_mode, "combo box"}, {c.progress, "progress bar"},
      {c.keep_dates, "保留文件日期"}};
  for (const auto& control : all) {
    if (!control.first) missing += std::string(" ") + control.second;
  }
  if (missing.empty()) return true;
  // Name what is there, so that a changed layout is seen at once.
  std::string present;
  for (HWND child : ChildWindows(c.window, "")) {
    const RECT rect = RectInParent(child);
    present += " [" + ClassOf(child) + "/" + BaseClassOf(child) + " \"" + CaptionOf(child) + "\" " + std::to_string(rect.left) + "," +
               std::to_string(rect.top) + "]";
  }
  return Fail("controls not found:" + missing + "; the window holds" + present);
}

bool ProgramSession::Fail(const std::string& message) {
  if (error_.empty()) error_ = message;
  return false;
}

JobRows ProgramSession::Rows() {
  JobRows rows;
  std::string why;
  if (!ReadListViewRows(controls_.list, 3, &rows, &why)) Fail("cannot read the job list: " + why);
  return rows;
}

int ProgramSession::Progress() const {
  DWORD_PTR position = 0;
  SendMessageTimeoutA(controls_.progress, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position);
  return static_cast<int>(position);
}

bool ProgramSession::Responsive() const {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(controls_.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) != 0;
}

bool ProgramSession::Idle() const {
  return IsWindowEnabled(controls_.start) && !IsWindowVisible(controls_.progress) &&
         !IsWindowVisible(controls_.cancel);
}

bool ProgramSession::ChooseMenuItem(HWND opener, int item) {
  if (!Click(opener)) return false;
  if (!WaitUntil([&] { return VisibleMenuWindow(process_id()) != nullptr; }, 5000)) {
    return Fail("no popup menu appeared");
  }
  // Down once highlights the first item; separators are skipped by the menu.
  if (!PressKey(VK_DOWN, item + 1) || !PressKey(VK_RETURN)) return Fail("keys on the menu failed");
  if (!WaitUntil([&] { return VisibleMenuWindow(process_id()) == nullptr; }, 5000)) {
    return Fail("the popup menu stays open");
  }
  return true;
}

bool ProgramSession::AddFiles(const std::string& folder, const std::vector<std::string>& names) {
  if (!ChooseMenuItem(controls_.add, 0)) return false;
  HWND dialog = WaitForDialog(process_id(), "请选择要转换的图片");
  if (!dialog) return Fail("no open-file dialog \"请选择要转换的图片\"");
  std::string why;
  if (!ChooseFilesInOpenDialog(dialog, folder, names, &why)) return Fail(why);
  return WaitUntil([&] { return Responsive(); }, 5000);
}

bool ProgramSession::AddFolder(const std::string& folder) {
  if (!ChooseMenuItem(controls_.add, 1)) return false;
  HWND dialog = WaitForDialog(process_id(), "");
  if (!dialog) return Fail("no folder dialog");
  std::string why;
  if (!ChooseFolderInTree(dialog, folder, &why)) return Fail(why);
  // The scan runs on a worker: over when the bar is hidden and the count
  // holds still for half a second.
  DWORD_PTR last = MAXDWORD, now = 0;
  int steady = 0;
  const bool done = WaitUntil([&] {
    SendMessageTimeoutA(controls_.list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &now);
    steady = (now == last && !IsWindowVisible(controls_.progress)) ? steady + 1 : 0;
    last = now;
    return steady >= 25;
  }, 120000);
  return done || Fail("the folder scan did not end");
}

bool ProgramSession::SelectRows(int first, int last) {
  RECT cell;
  SendMessageA(controls_.list, LVM_ENSUREVISIBLE, first, FALSE);
  if (!ListViewCellRect(controls_.list, first, 1, &cell)) return Fail("cannot locate row " + std::to_string(first));
  if (!ClickClientPoint(controls_.list, POINT{cell.left + 20, (cell.top + cell.bottom) / 2})) {
    return Fail("cannot click row " + std::to_string(first));
  }
  // Shift with the arrow keys extends the selection from the clicked row.
  if (last > first && (!KeyDown(VK_SHIFT) || !PressKey(VK_DOWN, last - first) || !KeyUp(VK_SHIFT))) {
    return Fail("keys on the list failed");
  }
  std::vector<int> wanted;
  for (int row = first; row <= last; ++row) wanted.push_back(row);
  if (WaitUntil([&] { return SelectedListViewRows(controls_.list) == wanted; }, 2000)) return true;
  std::string selected;
  for (int row : SelectedListViewRows(controls_.list)) selected += " " + std::to_string(row);
  return Fail("the clicks selected rows" + selected);
}

bool ProgramSession::Click(HWND control) {
  if (!ClickWindow(control)) return Fail("cannot click \"" + CaptionOf(control) + "\" (hidden or disabled)");
  Sleep(50);
  return true;
}

bool ProgramSession::PickSaveMode(const std::string& item) {
  const int index = item == "覆盖原图" ? 0 : 1;
  if (!Click(controls_.save_mode)) return false;
  HWND dropped = nullptr;
  if (!WaitUntil([&] { return (dropped = FirstTopLevelWindow(process_id(), "ComboLBox", "")) != nullptr; }, 3000)) {
    return Fail("the combo box did not drop down");
  }
  const int height = static_cast<int>(SendMessageA(dropped, LB_GETITEMHEIGHT, 0, 0));
  if (!ClickClientPoint(dropped, POINT{10, index * height + height / 2})) return Fail("cannot click the item");
  return WaitUntil([&] { return CaptionOf(controls_.save_mode) == item; }, 3000) ||
         Fail("the combo box shows \"" + CaptionOf(controls_.save_mode) + "\", want \"" + item + "\"");
}

bool ProgramSession::TypeInto(HWND edit, const std::string& text) {
  if (!Click(edit)) return false;
  const size_t old_length = WideOfGbk(CaptionOf(edit)).size();
  if (!PressKey(VK_END) || !PressKey(VK_BACK, static_cast<int>(old_length)) || !TypeText(WideOfGbk(text))) {
    return Fail("typing failed");
  }
  return WaitUntil([&] { return CaptionOf(edit) == text; }, 3000) ||
         Fail("the edit box holds \"" + CaptionOf(edit) + "\", want \"" + text + "\"");
}

bool ProgramSession::BrowseSaveFolder(const std::string& folder) {
  if (!Click(controls_.browse)) return false;
  HWND dialog = WaitForDialog(process_id(), "");
  if (!dialog) return Fail("no folder dialog after 浏览");
  std::string why;
  if (!ChooseFolderInTree(dialog, folder, &why)) return Fail(why);
  return WaitUntil([&] { return CaptionOf(controls_.save_folder) == folder; }, 5000) ||
         Fail("the save-folder box holds \"" + CaptionOf(controls_.save_folder) + "\", want \"" + folder + "\"");
}

bool ProgramSession::RunToEnd(DWORD timeout_ms) {
  if (!Click(controls_.start)) return false;
  return WaitIdle(timeout_ms);
}

bool ProgramSession::WaitIdle(DWORD timeout_ms) {
  // A run shows the bar at once; a short pause keeps a fast run from being
  // mistaken for one that has not begun.
  Sleep(200);
  return WaitUntil([&] { return Idle(); }, timeout_ms) || Fail("the run did not end in time");
}

bool ProgramSession::Close() {
  if (!controls_.window) return Fail("no window to close");
  PostMessageA(controls_.window, WM_CLOSE, 0, 0);
  return WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0 || Fail("the program did not end on close");
}
