// Answers the open-file and folder dialogs through their controls. Control
// ids 1 (OK) and 2 (cancel) are the dialog convention; the file-name box is
// found as the edit box that has the keyboard focus when the dialog opens.
#include "tests/app/driver/system_dialogs.h"

#include <commctrl.h>

#include <cctype>

#include "tests/app/driver/remote_controls.h"
#include "tests/app/driver/user_input.h"
#include "tests/app/driver/window_search.h"

namespace {

// The focused control of the dialog's thread.
HWND FocusOf(HWND dialog) {
  GUITHREADINFO info = {sizeof info};
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> PathPieces(const std::string& path) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = path.find('\\', start);
    const std::string piece = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!piece.empty()) pieces.push_back(piece);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return pieces;
}

// The item among `items` and (one and two levels) below them whose text
// names the drive, "... (Z:)".
HTREEITEM FindDriveItem(HWND tree, const std::vector<HTREEITEM>& items, const std::string& drive, int depth) {
  const std::string mark = "(" + Lower(drive) + ")";
  for (HTREEITEM item : items) {
    if (Lower(TreeItemText(tree, item)).find(mark) != std::string::npos) return item;
  }
  if (depth == 0) return nullptr;
  for (HTREEITEM item : items) {
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    if (HTREEITEM found = FindDriveItem(tree, TreeChildren(tree, item), drive, depth - 1)) return found;
  }
  return nullptr;
}

bool Fail(std::string* error, const std::string& message) {
  *error = message;
  return false;
}

}  // namespace

HWND WaitForDialog(DWORD process_id, const std::string& caption_prefix, DWORD timeout_ms) {
  HWND dialog = nullptr;
  WaitForCondition([&] { return (dialog = FirstTopLevelWindow(process_id, "#32770", caption_prefix)) != nullptr; },
            timeout_ms);
  return dialog;
}

bool ChooseFilesInOpenDialog(HWND dialog, const std::string& folder, const std::vector<std::string>& names,
                             std::string* error) {
  HWND box = nullptr;
  if (!WaitForCondition([&] { box = FocusOf(dialog); return box && ClassOf(box) == "Edit"; }, 5000)) {
    return Fail(error, "the open-file dialog's file-name box has no focus");
  }
  // Going to the folder first: a typed folder confirmed with the OK button
  // opens it in the list (Enter could land in the box's completion list).
  HWND ok = GetDlgItem(dialog, IDOK);
  SendMessageA(box, EM_SETSEL, 0, -1);
  if (!TypeText(WideOfGbk(folder)) || !ClickWindow(ok)) return Fail(error, "typing the folder failed");
  std::string answer;
  for (const std::string& name : names) answer += names.size() > 1 ? "\"" + name + "\" " : name;
  // The dialog empties the box when it opens the folder; it leaves the text
  // when it already shows that folder. The names typed next are relative to
  // the folder shown, so a wrong folder shows up as wrong paths in the list.
  const bool opened = WaitForCondition([&] { return CaptionOf(box).empty(); }, 2000);
  if (!IsWindow(dialog)) return Fail(error, "the open-file dialog closed on the folder " + folder);
  // The OK click took the focus; a click puts it back into the box.
  if (!ClickWindow(box) || !WaitForCondition([&] { return FocusOf(dialog) == box; }, 10000)) {
    return Fail(error, "cannot focus the file-name box");
  }
  if (!opened && (!PressKey(VK_HOME) || !KeyDown(VK_SHIFT) || !PressKey(VK_END) || !KeyUp(VK_SHIFT) ||
                  !PressKey(VK_DELETE))) {
    return Fail(error, "cannot empty the file-name box");
  }
  if (!TypeText(WideOfGbk(answer))) return Fail(error, "typing the names failed");
  if (!WaitForCondition([&] { return CaptionOf(box) == answer; }, 10000)) {
    return Fail(error, "the file-name box holds \"" + CaptionOf(box) + "\", want \"" + answer + "\"");
  }
  if (!ClickWindow(ok)) return Fail(error, "cannot click the dialog's OK button");
  if (!WaitForCondition([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5000)) {
    return Fail(error, "the open-file dialog stays open");
  }
  return true;
}

bool CancelDialog(HWND dialog) {
  // A dialog found as soon as it shows may still be laying out its buttons:
  // it takes clicks once it is the active window with its button enabled.
  HWND cancel = nullptr;
  const auto ready = [&] {
    cancel = GetDlgItem(dialog, IDCANCEL);
    return cancel && IsWindowVisible(cancel) && IsWindowEnabled(cancel) && GetForegroundWindow() == dialog;
  };
  if (!WaitForCondition(ready, 5000)) return false;
  return ClickWindow(cancel) && WaitForCondition([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5000);
}

std::string MessageBoxText(HWND box) {
  std::string text;
  for (HWND child : ChildWindows(box, "Static")) text += CaptionOf(child);
  return text;
}

bool AnswerMessageBox(DWORD process_id, const std::string& caption, std::string* text) {
  HWND box = WaitForDialog(process_id, caption);
  HWND ok = nullptr;
  if (!box || !WaitForCondition([&] { return (ok = GetDlgItem(box, IDOK)) != nullptr && IsWindowVisible(ok); }, 5000)) {
    return false;
  }
  *text = MessageBoxText(box);
  return ClickWindow(ok) && WaitForCondition([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
}

bool ChooseFolderInTree(HWND dialog, const std::string& folder, std::string* error) {
  HWND tree = nullptr;
  const auto find_tree = [&] {
    const std::vector<HWND> trees = ChildWindows(dialog, WC_TREEVIEWA);
    tree = trees.empty() ? nullptr : trees.front();
    return tree != nullptr;
  };
  if (!WaitForCondition(find_tree, 5000)) {
    return Fail(error, "the folder dialog has no tree");
  }
  const std::vector<std::string> pieces = PathPieces(folder);
  if (pieces.empty() || pieces[0].size() != 2 || pieces[0][1] != ':') {
    return Fail(error, "not a full path with a drive: " + folder);
  }
  HTREEITEM item = FindDriveItem(tree, TreeChildren(tree, nullptr), pieces[0], 2);
  if (!item) return Fail(error, "the tree shows no drive " + pieces[0]);
  for (size_t i = 1; i < pieces.size(); ++i) {
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    HTREEITEM next = nullptr;
    for (HTREEITEM child : TreeChildren(tree, item)) {
      if (Lower(TreeItemText(tree, child)) == Lower(pieces[i])) next = child;
    }
    if (!next) return Fail(error, "the tree shows no folder " + pieces[i] + " below " + TreeItemText(tree, item));
    item = next;
  }
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  RECT rect;
  if (!TreeItemRect(tree, item, &rect)) return Fail(error, "cannot locate the folder's item in the tree");
  if (!ClickClientPoint(tree, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2})) {
    return Fail(error, "cannot click the folder's item");
  }
  const auto selected = [&] {
    return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == reinterpret_cast<LPARAM>(item);
  };
  if (!WaitForCondition(selected, 10000)) {
    const auto caret = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    return Fail(error, "the click selected \"" + TreeItemText(tree, caret) + "\", not \"" +
                           TreeItemText(tree, item) + "\" (item at " + std::to_string(rect.left) + "," +
                           std::to_string(rect.top) + "-" + std::to_string(rect.right) + "," +
                           std::to_string(rect.bottom) + ")");
  }
  // Wine's dialog can take seconds to close, and a click can be lost while
  // its window's activation settles: OK is clicked again while it stays.
  const auto closed = [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); };
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!ClickWindow(GetDlgItem(dialog, IDOK)) && !closed()) {
      return Fail(error, "cannot click the folder dialog's OK button");
    }
    if (WaitForCondition(closed, 10000)) return true;
  }
  return Fail(error, "the folder dialog stays open");
}
