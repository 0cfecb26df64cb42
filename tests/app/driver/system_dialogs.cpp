// Answers the open-file and folder dialogs through their controls. Control
// ids 1 (OK) and 2 (cancel) are the dialog convention; the file-name box is
// found as the edit box that has the keyboard focus when the dialog opens.
#include "tests/app/driver/system_dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cctype>

#include "tests/app/driver/remote_controls.h"
#include "tests/app/driver/user_input.h"
#include "tests/app/driver/window_search.h"

namespace {

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

// The folder the open-file dialog shows, asked of the dialog; the answer is
// written into a buffer in the dialog's process.
std::string OpenDialogFolder(HWND dialog) {
  ControlOwner owner(dialog);
  if (!owner.process()) return {};
  char path[MAX_PATH * 2] = {};
  RemoteBlock buffer(owner.process(), sizeof path);
  DWORD_PTR length = 0;
  if (!buffer.ok() || !buffer.Write(path, sizeof path) ||
      !SendMessageTimeoutA(dialog, CDM_GETFOLDERPATH, sizeof path, reinterpret_cast<LPARAM>(buffer.address()),
                           SMTO_ABORTIFHUNG, 10000, &length) ||
      static_cast<LONG_PTR>(length) <= 0 || !buffer.Read(path, sizeof path)) {
    return {};
  }
  path[sizeof path - 1] = '\0';
  return path;
}

bool SameFolder(std::string shown, std::string wanted) {
  while (!shown.empty() && shown.back() == '\\') shown.pop_back();
  while (!wanted.empty() && wanted.back() == '\\') wanted.pop_back();
  return !shown.empty() && Lower(shown) == Lower(wanted);
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
  if (!WaitForCondition([&] { box = FocusOnThreadOf(dialog); return box && ClassOf(box) == "Edit"; }, 5000)) {
    return Fail(error, "the open-file dialog's file-name box has no focus");
  }
  // The file-name box is filled as a paste would fill it: the text is the
  // dialog's input, and typed keys can be let go of by Wine while the
  // dialog's activation settles.
  const auto put_in_box = [&](const std::string& text) {
    return SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 10000,
                               nullptr) != 0 &&
           WaitForCondition([&] { return CaptionOf(box) == text; }, 10000);
  };
  HWND ok = GetDlgItem(dialog, IDOK);
  // The folder first: a folder in the box confirmed with OK opens it in the
  // list, and the dialog empties the box once it shows the folder. The
  // names given next are relative to the folder shown, so a wrong folder
  // shows up as wrong paths in the list.
  if (!SameFolder(OpenDialogFolder(dialog), folder)) {
    const auto opened = [&] { return SameFolder(OpenDialogFolder(dialog), folder) && CaptionOf(box).empty(); };
    if (!put_in_box(folder) || !ClickUntil(ok, opened)) {
      return Fail(error, "the open-file dialog shows \"" + OpenDialogFolder(dialog) + "\", not " + folder);
    }
  }
  std::string answer;
  for (const std::string& name : names) answer += names.size() > 1 ? "\"" + name + "\" " : name;
  if (!put_in_box(answer)) {
    return Fail(error, "the file-name box holds \"" + CaptionOf(box) + "\", want \"" + answer + "\"");
  }
  if (!ClickUntil(ok, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) {
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
  if (!ClickUntil(GetDlgItem(dialog, IDOK), [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) {
    return Fail(error, "the folder dialog stays open");
  }
  return true;
}
