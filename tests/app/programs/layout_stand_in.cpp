// A plain Win32 program with the converter's main-window layout (same
// control classes, captions and places, the same menus and system dialogs),
// used to check the end-to-end driver on its own. Its "run" only writes
// "转换成功" into each row on a timer; it converts nothing.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

enum ControlId {
  kList = 100, kAdd, kRemove, kClear, kStart, kCancel, kBrowse, kOpen, kQuality, kFolder, kMode, kBar, kKeepDates
};
enum MenuId { kAddPictures = 200, kAddFolder };
constexpr UINT_PTR kRunTimer = 1;

HWND g_window;
int g_next_row;  // the row the fake run writes next; -1 when idle

HWND Control(int id) { return GetDlgItem(g_window, id); }

void AppendRow(const std::string& path) {
  HWND list = Control(kList);
  LVITEMA item = {};
  item.iItem = ListView_GetItemCount(list);
  const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  std::string number = std::to_string(ListView_GetItemCount(list));
  ListView_SetItemText(list, row, 0, &number[0]);
  std::string copy = path;
  ListView_SetItemText(list, row, 1, &copy[0]);
}

void OnAddPictures() {
  std::vector<char> names(8192, '\0');
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = g_window;
  dialog.lpstrFilter = "所有格式\0*.*\0";
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = static_cast<DWORD>(names.size());
  dialog.lpstrTitle = "请选择要转换的图片";
  dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameA(&dialog)) return;
  // A single file is one full path; several are the folder, then names.
  const std::string folder = names.data();
  const char* name = names.data() + folder.size() + 1;
  if (!*name) return AppendRow(folder);
  for (; *name; name += strlen(name) + 1) AppendRow(folder + "\\" + name);
}

std::string AskFolder(const char* title) {
  BROWSEINFOA info = {};
  info.hwndOwner = g_window;
  info.lpszTitle = title;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (!chosen) return {};
  char path[MAX_PATH] = "";
  SHGetPathFromIDListA(chosen, path);
  CoTaskMemFree(chosen);
  return path;
}

void OnAddFolder() {
  const std::string folder = AskFolder("请选择图片所在的文件夹");
  if (folder.empty()) return;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) AppendRow(folder + "\\" + entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

void ShowFolderControls() {
  const int show = SendMessageA(Control(kMode), CB_GETCURSEL, 0, 0) == 1 ? SW_SHOW : SW_HIDE;
  for (int id : {kFolder, kBrowse, kOpen}) ShowWindow(Control(id), show);
}

void SetRunning(bool running) {
  for (int id : {kAdd, kRemove, kClear, kQuality, kFolder, kMode, kStart, kBrowse, kOpen}) {
    EnableWindow(Control(id), !running);
  }
  ShowWindow(Control(kBar), running ? SW_SHOW : SW_HIDE);
  ShowWindow(Control(kCancel), running ? SW_SHOW : SW_HIDE);
}

void OnRunStep() {
  HWND list = Control(kList);
  const int count = ListView_GetItemCount(list);
  if (g_next_row < 0 || g_next_row >= count) {
    KillTimer(g_window, kRunTimer);
    g_next_row = -1;
    return SetRunning(false);
  }
  char done[] = "转换成功";
  ListView_SetItemText(list, g_next_row, 2, done);
  ++g_next_row;
  SendMessageA(Control(kBar), PBM_SETPOS, g_next_row * 10000 / count, 0);
}

void OnCommand(int id) {
  HWND list = Control(kList);
  switch (id) {
    case kAdd: {
      HMENU menu = CreatePopupMenu();
      AppendMenuA(menu, MF_STRING, kAddPictures, "添加图片");
      AppendMenuA(menu, MF_STRING, kAddFolder, "添加文件夹");
      POINT at;
      GetCursorPos(&at);
      TrackPopupMenu(menu, TPM_LEFTALIGN, at.x, at.y, 0, g_window, nullptr);
      DestroyMenu(menu);
      break;
    }
    case kAddPictures: return OnAddPictures();
    case kAddFolder: return OnAddFolder();
    case kRemove:
      for (int row = ListView_GetItemCount(list) - 1; row >= 0; --row) {
        if (ListView_GetItemState(list, row, LVIS_SELECTED)) ListView_DeleteItem(list, row);
      }
      break;
    case kClear: ListView_DeleteAllItems(list); break;
    case kStart:
      if (ListView_GetItemCount(list) <= 0) return;
      g_next_row = 0;
      SetRunning(true);
      SetTimer(g_window, kRunTimer, 30, nullptr);
      break;
    case kCancel: g_next_row = -1; break;
    case kBrowse: {
      const std::string folder = AskFolder("图片保存位置");
      if (!folder.empty()) SetWindowTextA(Control(kFolder), folder.c_str());
      break;
    }
  }
}

void OnDrawButton(const DRAWITEMSTRUCT& item) {
  char caption[32] = "";
  GetWindowTextA(item.hwndItem, caption, sizeof caption);
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(item.hDC, const_cast<RECT*>(&item.rcItem), EDGE_RAISED, BF_RECT);
  RECT text = item.rcItem;
  DrawTextA(item.hDC, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CreateControls(HWND window) {
  struct ControlLayout { const char* type; const char* caption; DWORD style; int x, y, w, h, id; };
  const ControlLayout layouts[] = {
      {"BUTTON", "取消", BS_PUSHBUTTON, 748, 252, 88, 40, kCancel},
      {PROGRESS_CLASSA, "", 0, 185, 256, 552, 32, kBar},
      {"BUTTON", "打开", BS_PUSHBUTTON | WS_VISIBLE, 807, 8, 40, 24, kOpen},
      {"BUTTON", "浏览", BS_PUSHBUTTON | WS_VISIBLE, 762, 8, 40, 24, kBrowse},
      {"EDIT", "", WS_BORDER | ES_AUTOHSCROLL | WS_VISIBLE, 455, 8, 304, 24, kFolder},
      {"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VISIBLE, 373, 10, 80, 200, kMode},
      {"BUTTON", "开始转换", BS_PUSHBUTTON | WS_VISIBLE, 912, 4, 80, 32, kStart},
      {"BUTTON", "保留文件日期", BS_AUTOCHECKBOX | BS_MULTILINE | WS_VISIBLE, 850, 4, 60, 32, kKeepDates},
      {"EDIT", "100", WS_BORDER | WS_VISIBLE, 296, 8, 48, 24, kQuality},
      {WC_LISTVIEWA, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_VISIBLE, 0, 39, 992, 529, kList},
      {"BUTTON", "清空", BS_OWNERDRAW | WS_VISIBLE, 180, 8, 45, 24, kClear},
      {"BUTTON", "删除", BS_OWNERDRAW | WS_VISIBLE, 134, 8, 45, 24, kRemove},
      {"BUTTON", "添加", BS_OWNERDRAW | WS_VISIBLE, 88, 8, 45, 24, kAdd},
  };
  for (const ControlLayout& control : layouts) {
    CreateWindowExA(0, control.type, control.caption, WS_CHILD | WS_TABSTOP | control.style, control.x, control.y,
                    control.w, control.h, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), nullptr, nullptr);
  }
  SendMessageA(GetDlgItem(window, kBar), PBM_SETRANGE32, 0, 10000);
  HWND mode = GetDlgItem(window, kMode);
  SendMessageA(mode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("覆盖原图"));
  SendMessageA(mode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("保存在："));
  SendMessageA(mode, CB_SETCURSEL, 0, 0);
  HWND list = GetDlgItem(window, kList);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  const std::pair<const char*, int> columns[] = {{"编号", 50}, {"图片路径", 820}, {"状态", 100}};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH};
    column.pszText = const_cast<char*>(columns[i].first);
    column.cx = columns[i].second;
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: g_window = window; CreateControls(window); ShowFolderControls(); return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kMode && HIWORD(wparam) == CBN_SELCHANGE) ShowFolderControls();
      else OnCommand(LOWORD(wparam));
      return 0;
    case WM_DRAWITEM: OnDrawButton(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam)); return TRUE;
    case WM_TIMER: OnRunStep(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  OleInitialize(nullptr);
  g_next_row = -1;
  WNDCLASSA type = {};
  type.lpfnWndProc = WindowProcedure;
  type.hInstance = instance;
  type.hCursor = LoadCursor(nullptr, IDC_ARROW);
  type.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  type.lpszClassName = "LayoutStandIn";
  RegisterClassA(&type);
  CreateWindowExA(0, type.lpszClassName, "布局替身 Tulvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 1000, 600,
                  nullptr, nullptr, instance, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  OleUninitialize();
  return 0;
}
