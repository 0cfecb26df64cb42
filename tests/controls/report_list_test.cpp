// The report list, the worker thread and the folder dialog seen from
// outside: each case runs the test application (programs/report_list_app.cpp)
// as a child process, compares its log, and for the folder dialog finds the
// real dialog among the child's windows and answers it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/support/child_program.h"
#include "tests/support/condition_wait.h"

namespace {

// The report-list application with a scenario, started at once; Finish
// waits for its end and reads its log.
class Child : public ChildProgram {
 public:
  explicit Child(const std::string& scenario) : ChildProgram(TULVEX_REPORT_LIST_APP, scenario) {}
};

TEST(ReportList, MadeFromItsRecordAndDrivenByItsCommandsAndAWorker) {
  Child child("commands");
  const ChildRun run = child.Finish();
  EXPECT_EQ(run.exit_code, 0u);
  ExpectLog(run, {
      "columns=3 编号:50|图片路径:300|状态:100",
      "rows=1|a.bmp|待转换 / 2|b.png| data=101 current=1",
      // LVS_EX_CHECKBOXES | FULLROWSELECT | GRIDLINES | INFOTIP | SUBITEMIMAGES
      "font=宋体 -14 700 extended=0x427 client-edge=1",
      // The row's image 5 is not in the list of two: none.
      "images=1,0,-1 count=2",
      // The platform's check-box pictures, replaced by the record's, are freed.
      "state images=2 replaced freed=1",
      "view=3 editing=1 single=0 keep=1 border=1 text=0x80 background=0x80000005 painted=1",
      "event current row changed count=0 current=0",
      "written current=0 dims=1 rows=0 grid=0,0 border=5,1,0 view=2,1",
      "insert=2,3,0 order=首|1|2||尾",
      "texts 510:1,510 511:1,511 512:1,512 1023:1,1023 1500:1,1500 missing=null cleared=empty",
      "delete-all=1,1 none=dims=1 rows= chosen=dims=1 rows=1,4,7",
      "delete-row=0,1 rows=1|2|3|4|5|6|7|8 visible=1,0",
      "width set=1 given=123 contents=fits header=fits fits-differ=1 missing-column=0",
      "event current row changed count=0 current=2",
      "event check count=2 row=2 state=1",
      "worker started=1",
      "worker parameter=3 rows=线程0|线程1|线程2 state=转换成功 selected=dims=1 rows=2",
      "loop returned",
  });
}

// Real mouse input on rows, check box and header becomes the list's events;
// the handlers' answers decide label edits; tips follow their rows.
TEST(ReportList, InputBecomesEventsAndHandlersDecideLabelEdits) {
  Child child("input");
  const ChildRun run = child.Finish();
  EXPECT_EQ(run.exit_code, 0u);
  ExpectLog(run, {
      "click row 0",
      "event current row changed count=0 current=0",
      "event clicked count=0",
      "right-click row 1",
      "event current row changed count=0 current=1",
      "event right-clicked count=0",
      // The platform leaves the focus where it was on a check-box click.
      "click check box of row 0",
      "event clicked count=0",
      "event check count=2 row=0 state=1",
      "click header of column 2",
      "event header clicked column=2",
      "double-click row 1",
      "event clicked count=0",
      "event activated count=0 current=1",
      // An edit focuses its row first.
      "event current row changed count=0 current=0",
      "event edit starting row=0",
      "edit row=0 started=0",
      "event current row changed count=0 current=1",
      "event edit starting row=1",
      "edit row=1 started=1",
      "event edit ended row=1 text=拒绝",
      "edit row=1 text=2",
      "event edit starting row=1",
      "edit row=1 started=1",
      "event edit ended row=1 text=新名字",
      "edit row=1 text=新名字",
      // A cancelled edit ends with no new text; the label stays.
      "event edit starting row=1",
      "edit row=1 started=1",
      "event edit ended row=1 text=",
      "edit row=1 text=新名字",
      "hot tracking=1 hand=1",
      "event hot row=1",
      "event hot row=1",
      "event hot row=0",
      "tips=(untouched)|第一行|第二行",
      "loop returned",
  });
}

// A record the list cannot read fails the list and with it the start
// window: the runtime's error report ends the program with -1.
TEST(ReportList, RefusesTooNewAndDamagedRecords) {
  for (const char* scenario : {"too_new", "damaged", "bad_font"}) {
    SCOPED_TRACE(scenario);
    Child child(scenario);
    const ChildRun run = child.Finish();
    EXPECT_EQ(run.exit_code, 0xFFFFFFFFu) << "have " << static_cast<int32_t>(run.exit_code) << ", want -1";
    ExpectLog(run, {"error count=1 code=0 message=载入启动窗口失败"});
  }
}

// --- the folder dialog --------------------------------------------------------

struct WindowSearch {
  DWORD process;
  const char* class_name;
  HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == search->process && IsWindowVisible(window) && std::string(name) == search->class_name) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The child's visible dialog (#32770), waiting up to 30 s for it.
HWND WaitForDialog(DWORD process) {
  WindowSearch search{process, "#32770", nullptr};
  WaitForCondition([&] {
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, 30000);
  return search.found;
}

// Reads an item's text of a tree view in another process through a buffer
// allocated in that process.
class RemoteTree {
 public:
  RemoteTree(HANDLE process, HWND tree) : process_(process), tree_(tree) {
    remote_ = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteTree() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  }

  std::string Text(HTREEITEM item) {
    if (!remote_) return std::string();
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = static_cast<char*>(remote_) + 1024;
    query.cchTextMax = 1024;
    char text[1024] = {};
    if (!WriteProcessMemory(process_, remote_, &query, sizeof query, nullptr) ||
        !SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_)) ||
        !ReadProcessMemory(process_, static_cast<char*>(remote_) + 1024, text, sizeof text - 1, nullptr))
      return std::string();
    return text;
  }

  HTREEITEM Next(HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  }

  // The first child of `parent` (expanded first) whose text passes `accept`.
  template <typename Accept>
  HTREEITEM FindChild(HTREEITEM parent, Accept accept) {
    SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    for (HTREEITEM child = Next(parent, TVGN_CHILD); child; child = Next(child, TVGN_NEXT))
      if (accept(child, Text(child))) return child;
    return nullptr;
  }

 private:
  HANDLE process_;
  HWND tree_;
  void* remote_ = nullptr;
};

// The folder C:\<name> in the dialog's tree: the computer is the item
// below the root that holds the drive "(C:)".
HTREEITEM FindFolderItem(RemoteTree& tree, const std::string& name) {
  const HTREEITEM root = tree.Next(nullptr, TVGN_ROOT);
  HTREEITEM drive = nullptr;
  tree.FindChild(root, [&](HTREEITEM computer, const std::string&) {
    drive = tree.FindChild(computer, [](HTREEITEM, const std::string& text) {
      return text.find("(C:)") != std::string::npos;
    });
    return drive != nullptr;
  });
  if (!drive) return nullptr;
  return tree.FindChild(drive, [&](HTREEITEM, const std::string& text) {
    return lstrcmpiA(text.c_str(), name.c_str()) == 0;
  });
}

// The program's two top-level windows are disabled while the dialog runs,
// which the program owns; afterwards each has its own state back (the
// second window was disabled before).
void ExpectProgramModal(DWORD process, HWND dialog) {
  DWORD owner_process = 0;
  const HWND owner = GetWindow(dialog, GW_OWNER);
  GetWindowThreadProcessId(owner, &owner_process);
  EXPECT_EQ(owner_process, process) << "the dialog's owner is a window of the program";
  const HWND main = FindWindowA(nullptr, "列表测试");
  const HWND second = FindWindowA(nullptr, "第二窗口");
  ASSERT_TRUE(main && second);
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_FALSE(IsWindowEnabled(second));
}

TEST(FolderDialog, CancelledGivesEmptyTextAndRestoresEveryWindow) {
  Child child("folder");
  const HWND dialog = WaitForDialog(child.id());
  ASSERT_NE(dialog, nullptr) << "no folder dialog appeared";
  ExpectProgramModal(child.id(), dialog);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  const ChildRun run = child.Finish();
  EXPECT_EQ(run.exit_code, 0u);
  ExpectLog(run, {"folder dialog opens", "folder= main-enabled=1 second-enabled=0", "loop returned"});
}

TEST(FolderDialog, AFolderChosenInTheTreeIsReturnedAsItsPath) {
  const std::string name = "tulvex_folder_" + std::to_string(GetCurrentProcessId());
  const std::string path = "C:\\" + name;
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
  {
    Child child("folder");
    const HWND dialog = WaitForDialog(child.id());
    ASSERT_NE(dialog, nullptr) << "no folder dialog appeared";
    const HWND tree_window = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    ASSERT_NE(tree_window, nullptr);
    RemoteTree tree(child.process(), tree_window);
    const HTREEITEM folder = FindFolderItem(tree, name);
    ASSERT_NE(folder, nullptr) << "no item for " << path << " in the dialog's tree";
    SendMessageA(tree_window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folder));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    const ChildRun run = child.Finish();
    EXPECT_EQ(run.exit_code, 0u);
    ExpectLog(run, {"folder dialog opens", "folder=" + path + " main-enabled=1 second-enabled=0", "loop returned"});
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace
