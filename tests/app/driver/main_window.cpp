// Program start, control discovery and the user's actions on the main
// window. Places are those of the window's layout in client coordinates.
#include "tests/app/driver/main_window.h"

#include <commctrl.h>

#include <algorithm>

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
  // The driver sees windows in screen pixels, as a program aware of the
  // screen's density draws them (per monitor: none are scaled for it).
  using SetAwareness = BOOL(WINAPI*)(HANDLE);
  const auto aware = reinterpret_cast<SetAwareness>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
  if (aware) aware(reinterpret_cast<HANDLE>(-3));
  std::string command = "\"" + program + "\"";
  const std::string folder = FolderOf(program);
  STARTUPINFOA startup = {sizeof startup};
  if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process_)) {
    error_ = "cannot start " + program + ": error " + std::to_string(GetLastError());
    return;
  }
  const bool shown = WaitForCondition([&] {
    controls_.window = FirstTopLevelWindow(process_.dwProcessId, "", caption_prefix);
    return controls_.window != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
  }, kStartTimeoutMs);
  if (!shown || !controls_.window) {
    error_ = "no window captioned \"" + caption_prefix + "...\" appeared";
    return;
  }
  if (!FindControls()) return;
  // The creation handler has put the remembered mode into the combo box.
  if (!WaitForCondition([&] { return !CaptionOf(controls_.save_mode).empty() && Responsive(); }, 5000)) {
    Fail("the save-mode combo box shows no mode");
  }
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
  // By order, not by place: places grow with the screen's density. The two
  // edit boxes of the tool row, left to right, and its one drop-down list.
  std::vector<HWND> edits = ChildWindows(c.window, "Edit");
  std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) { return RectInParent(a).left < RectInParent(b).left; });
  c.quality = edits.size() == 2 ? edits[0] : nullptr;
  c.save_folder = edits.size() == 2 ? edits[1] : nullptr;
  const std::vector<HWND> combos = ChildWindows(c.window, "ComboBox");
  c.save_mode = combos.size() == 1 ? combos.front() : nullptr;
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
  // A click sent while the window's activation settles can be lost under
  // Wine: the opener is clicked again while no menu came.
  HWND menu = nullptr;
  for (int attempt = 0; attempt < 2 && !menu; ++attempt) {
    if (!Click(opener)) return false;
    WaitForCondition([&] { return (menu = VisibleMenuWindow(process_id())) != nullptr; }, 10000);
  }
  if (!menu) return Fail("no popup menu appeared");
  // The keys go into the menu's queue, where its loop reads them as typed
  // keys; sent through the input system, Wine could let go of one while the
  // activation settles. Down once highlights the first item; separators
  // are skipped by the menu.
  for (int i = 0; i <= item; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  if (!WaitForCondition([&] { return VisibleMenuWindow(process_id()) == nullptr; }, 10000)) {
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
  return WaitForCondition([&] { return Responsive(); }, 5000);
}

int ProgramSession::RowCount() const {
  DWORD_PTR count = 0;
  SendMessageTimeoutA(controls_.list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
  return static_cast<int>(count);
}

bool ProgramSession::StartFolderScan(const std::string& folder) {
  if (!ChooseMenuItem(controls_.add, 1)) return false;
  HWND dialog = WaitForDialog(process_id(), "");
  if (!dialog) return Fail("no folder dialog");
  std::string why;
  return ChooseFolderInTree(dialog, folder, &why) || Fail(why);
}

bool ProgramSession::AddFolder(const std::string& folder) {
  const int before = RowCount();
  if (!StartFolderScan(folder)) return false;
  // The scan runs on a worker; it has begun once a row came, and it is over
  // when the window shows no job going on.
  return WaitForCondition([&] { return RowCount() > before && Idle(); }, 120000) || Fail("the folder scan did not end");
}

bool ProgramSession::SelectRows(int first, int last) {
  std::vector<int> wanted;
  for (int row = first; row <= last; ++row) wanted.push_back(row);
  std::string failure;
  // The click that activates the window makes Wine's X11 driver match its
  // key state to the X server's a moment later, which can let go of a key
  // sent in between: the window is then active, and a second try holds.
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT cell;
    SendMessageA(controls_.list, LVM_ENSUREVISIBLE, first, FALSE);
    if (!ListViewCellRect(controls_.list, first, 1, &cell)) return Fail("cannot locate row " + std::to_string(first));
    if (!ClickClientPoint(controls_.list, POINT{cell.left + 20, (cell.top + cell.bottom) / 2})) {
      return Fail("cannot click row " + std::to_string(first));
    }
    if (!WaitForCondition([&] { return TakesKeys(controls_.list); }, 10000)) return Fail("the list takes no keys");
    // Shift with the arrow keys extends the selection from the clicked row.
    bool keyed = last == first || (KeyDown(VK_SHIFT) && PressKey(VK_DOWN, last - first));
    keyed = KeyUp(VK_SHIFT) && keyed;
    if (!keyed) {
      failure = "keys on the list failed";
      continue;
    }
    if (WaitForCondition([&] { return SelectedListViewRows(controls_.list) == wanted; }, 10000)) return true;
    failure = "the clicks selected rows";
    for (int row : SelectedListViewRows(controls_.list)) failure += " " + std::to_string(row);
  }
  return Fail(failure);
}

bool ProgramSession::Click(HWND control) {
  return ClickWindow(control) || Fail("cannot click \"" + CaptionOf(control) + "\" (hidden or disabled)");
}

bool ProgramSession::PickSaveMode(const std::string& item) {
  const int index = item == "覆盖原图" ? 0 : 1;
  if (!Click(controls_.save_mode)) return false;
  HWND dropped = nullptr;
  if (!WaitForCondition([&] { return (dropped = FirstTopLevelWindow(process_id(), "ComboLBox", "")) != nullptr; }, 10000)) {
    return Fail("the combo box did not drop down");
  }
  const int height = static_cast<int>(SendMessageA(dropped, LB_GETITEMHEIGHT, 0, 0));
  if (!ClickClientPoint(dropped, POINT{10, index * height + height / 2})) return Fail("cannot click the item");
  // The mode's handler shows or hides the folder box after the box changes.
  const bool folder_shown = index == 1;
  return WaitForCondition([&] {
    return CaptionOf(controls_.save_mode) == item && (IsWindowVisible(controls_.save_folder) != FALSE) == folder_shown;
  }, 10000) || Fail("the combo box shows \"" + CaptionOf(controls_.save_mode) + "\", want \"" + item + "\"");
}

bool ProgramSession::TypeInto(HWND edit, const std::string& text) {
  if (!Click(edit)) return false;
  if (!WaitForCondition([&] { return TakesKeys(edit); }, 10000)) return Fail("the edit box takes no keys");
  const size_t old_length = WideOfGbk(CaptionOf(edit)).size();
  if (!PressKey(VK_END) || !PressKey(VK_BACK, static_cast<int>(old_length))) return Fail("erasing failed");
  if (!TypeText(WideOfGbk(text))) return Fail("typing failed");
  return WaitForCondition([&] { return CaptionOf(edit) == text; }, 10000) ||
         Fail("the edit box holds \"" + CaptionOf(edit) + "\", want \"" + text + "\"");
}

bool ProgramSession::BrowseSaveFolder(const std::string& folder) {
  // A click that lands while the window's activation settles can be lost
  // under Wine: it is given again while the window still takes input (no
  // dialog of it has begun).
  HWND dialog = nullptr;
  for (int attempt = 0; attempt < 2 && !dialog; ++attempt) {
    if (attempt > 0 && !IsWindowEnabled(GetAncestor(controls_.browse, GA_ROOT))) {
      dialog = WaitForDialog(process_id(), "");
      break;
    }
    if (!Click(controls_.browse)) return false;
    dialog = WaitForDialog(process_id(), "");
  }
  if (!dialog) return Fail("no folder dialog after 浏览");
  std::string why;
  if (!ChooseFolderInTree(dialog, folder, &why)) return Fail(why);
  return WaitForCondition([&] { return CaptionOf(controls_.save_folder) == folder; }, 5000) ||
         Fail("the save-folder box holds \"" + CaptionOf(controls_.save_folder) + "\", want \"" + folder + "\"");
}

bool ProgramSession::StartRun() {
  const auto answered = [&] {
    JobRows rows;
    std::string why;
    if (!Idle() || FirstTopLevelWindow(process_id(), "#32770", "")) return true;
    if (!ReadListViewRows(controls_.list, 3, &rows, &why)) return false;
    for (const auto& row : rows) {
      if (!row[2].empty()) return true;
    }
    return false;
  };
  return ClickUntil(controls_.start, answered) || Fail("the start button's click changed nothing");
}

bool ProgramSession::RunToEnd(DWORD timeout_ms) {
  if (!StartRun()) return false;
  // Over once every row shows a result and the window shows no job.
  const auto finished = [&] {
    JobRows rows;
    std::string why;
    if (!Idle() || !ReadListViewRows(controls_.list, 3, &rows, &why) || rows.empty()) return false;
    for (const auto& row : rows) {
      if (row[2].empty() || row[2] == "正在转换") return false;
    }
    return true;
  };
  return WaitForCondition(finished, timeout_ms) || Fail("the run did not end in time");
}

bool ProgramSession::WaitIdle(DWORD timeout_ms) {
  return WaitForCondition([&] { return Idle(); }, timeout_ms) || Fail("the run did not end in time");
}

bool ProgramSession::Close(DWORD timeout_ms) {
  if (!controls_.window) return Fail("no window to close");
  PostMessageA(controls_.window, WM_CLOSE, 0, 0);
  HWND box = nullptr;
  const bool ended = WaitForCondition([&] {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0 ||
           (box = FirstTopLevelWindow(process_id(), "#32770", "")) != nullptr;
  }, timeout_ms);
  if (box) return Fail("a box came up on close: \"" + CaptionOf(box) + "\" " + MessageBoxText(box));
  return ended || Fail("the program did not end on close");
}

DWORD ProgramSession::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}
