// The runtime error report: its text, and the whole report in a child
// process (message box, error handler, exit code -1), including the fatal
// errors of memory, numeric conversion and DLL commands.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/process/error_report_text.h"
#include "tests/support/condition_wait.h"
#include "tests/support/scratch_folder.h"

namespace {

TEST(ErrorReportText, LinesFollowCodeAndMessage) {
  EXPECT_EQ(BuildErrorReportText("", 0), "运行时出错!\r\n\r\n");
  EXPECT_EQ(BuildErrorReportText(nullptr, 0), "运行时出错!\r\n\r\n");
  EXPECT_EQ(BuildErrorReportText("", 3), "运行时出错!\r\n\r\n错误代码：3\r\n\r\n");
  EXPECT_EQ(BuildErrorReportText("载入启动窗口失败", 0), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
  EXPECT_EQ(BuildErrorReportText("坏", -12), "运行时出错!\r\n\r\n错误代码：-12\r\n\r\n错误信息：坏\r\n");
}

TEST(ErrorReportText, ElevenCodedMessages) {
  EXPECT_EQ(CodedErrorMessage(0), nullptr);
  EXPECT_EQ(CodedErrorMessage(12), nullptr);
  EXPECT_STREQ(CodedErrorMessage(1), "数组成员引用下标超出定义范围");
  EXPECT_STREQ(CodedErrorMessage(6), "调用DLL命令后发现堆栈错误");
  EXPECT_STREQ(CodedErrorMessage(9), "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围");
  EXPECT_STREQ(CodedErrorMessage(11), "所提供参数的数据类型不符合要求");
  for (int32_t code = 1; code <= 11; ++code) {
    ASSERT_NE(CodedErrorMessage(code), nullptr) << "code " << code;
    for (int32_t other = 1; other < code; ++other) {
      EXPECT_STRNE(CodedErrorMessage(code), CodedErrorMessage(other)) << code << " and " << other;
    }
  }
}

// --- child processes ---------------------------------------------------------

class Child {
 public:
  explicit Child(const std::string& arguments) {
    std::string command = std::string("\"") + TULVEX_RUNTIME_ERROR_CHILD + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process_) != 0;
  }
  ~Child() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool started() const { return started_; }
  DWORD id() const { return process_.dwProcessId; }
  bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  // The exit code, or 12345 when the child is still running after 30 s.
  DWORD Wait() {
    if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) return 12345;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

constexpr DWORD kExitMinusOne = 0xFFFFFFFF;

struct WindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK MatchErrorBox(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[64] = "";
  GetWindowTextA(window, title, sizeof title);
  if (owner == search->process && std::string(title) == "错误" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The box of `process`, or nullptr when none shows within 30 s.
HWND WaitForErrorBox(DWORD process) {
  WindowSearch search{process, nullptr};
  WaitForCondition([&] { return EnumWindows(MatchErrorBox, reinterpret_cast<LPARAM>(&search)), search.found; },
                   30000);
  return search.found;
}

// The longest static text of the box is its message (the other static holds
// the icon).
BOOL CALLBACK CollectStaticText(HWND window, LPARAM context) {
  char class_name[32] = "";
  GetClassNameA(window, class_name, sizeof class_name);
  if (lstrcmpiA(class_name, "Static") == 0) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    auto* longest = reinterpret_cast<std::string*>(context);
    if (std::string(text).size() > longest->size()) *longest = text;
  }
  return TRUE;
}

std::string MessageBoxText(HWND box) {
  std::string text;
  EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

// Runs a child whose handler logs and suppresses the box; returns the log.
std::string RunWithHandler(const std::string& mode, DWORD* exit_code, std::string* cleanup_mark = nullptr) {
  ScratchFolder folder("error_report_" + mode);
  const std::string log = folder.File("report.log");
  Child child(mode + " \"" + log + "\"");
  if (!child.started()) return "child did not start";
  *exit_code = child.Wait();
  if (cleanup_mark) *cleanup_mark = FileExists(log + ".cleanup") ? "run" : "not run";
  return ReadFileBytes(log);
}

void ExpectMessageBox(const std::string& mode, const std::string& expected_text) {
  Child child(mode);
  ASSERT_TRUE(child.started());
  HWND box = WaitForErrorBox(child.id());
  ASSERT_NE(box, nullptr) << "no \"错误\" window from the child";
  EXPECT_EQ(MessageBoxText(box), expected_text);
  EXPECT_NE(GetWindowLongA(box, GWL_STYLE) & WS_VISIBLE, 0);
  // The child waits in the box until OK is pressed; then it must exit -1.
  EXPECT_TRUE(child.Running()) << "the child must wait in its message box";
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(child.Wait(), kExitMinusOne);
}

TEST(ErrorReportProcess, MessageBoxShowsCodeAndMessageThenExitsMinusOne) {
  ExpectMessageBox("box", "运行时出错!\r\n\r\n错误代码：7\r\n\r\n错误信息：图片“a.bmp”无法读取\r\n");
}

TEST(ErrorReportProcess, BareErrorShowsOnlyTheHeading) {
  // The box may drop trailing blank lines from its static text.
  Child child("box-bare");
  ASSERT_TRUE(child.started());
  HWND box = WaitForErrorBox(child.id());
  ASSERT_NE(box, nullptr) << "no \"错误\" window from the child";
  const std::string text = MessageBoxText(box);
  EXPECT_EQ(text.substr(0, std::string("运行时出错!").size()), "运行时出错!") << "have " << text;
  EXPECT_EQ(text.find("错误代码"), std::string::npos) << "have " << text;
  EXPECT_EQ(text.find("错误信息"), std::string::npos) << "have " << text;
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(child.Wait(), kExitMinusOne);
}

TEST(ErrorReportProcess, HandlerThatAnswersNonZeroSuppressesTheBoxAndStillExitsMinusOne) {
  DWORD exit_code = 0;
  // Without a box the child ends by itself; a box would hold it until the
  // 30 s wait gives up.
  EXPECT_EQ(RunWithHandler("code", &exit_code), "1|5|数据或数组类型不匹配\n");
  EXPECT_EQ(exit_code, kExitMinusOne);
}

TEST(ErrorReportProcess, ErrorInsideTheHandlerSkipsTheHandler) {
  ScratchFolder folder("error_report_reentry");
  const std::string log = folder.File("report.log");
  Child child("handler-fails \"" + log + "\"");
  ASSERT_TRUE(child.started());
  HWND box = WaitForErrorBox(child.id());
  ASSERT_NE(box, nullptr) << "the second error must reach the message box";
  EXPECT_EQ(MessageBoxText(box), "运行时出错!\r\n\r\n错误信息：处理程序内的错误\r\n");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(child.Wait(), kExitMinusOne);
  EXPECT_EQ(ReadFileBytes(log), "1|1|数组成员引用下标超出定义范围\n") << "the handler ran once only";
}

TEST(ErrorReportProcess, CleanupRoutinesDoNotRunAfterAnError) {
  DWORD exit_code = 0;
  std::string cleanup;
  EXPECT_EQ(RunWithHandler("cleanup", &exit_code, &cleanup), "1|2|未得到所需要的数值型数据\n");
  EXPECT_EQ(exit_code, kExitMinusOne);
  EXPECT_EQ(cleanup, "not run");
}

TEST(ErrorReportProcess, FatalRuntimeMessagesWithCodeZero) {
  struct Case {
    const char* mode;
    const char* log;
  } const cases[] = {
      {"text-to-integer", "1|0|欲转换数据类型不是数值\n"},
      {"allocation", "1|0|分配 2147483632 字节内存失败!\n"},
      {"dll-library", "1|0|无法找到指定DLL库文件“tulvex_no_such_library.dll”中的输出命令“SomeEntry”\n"},
      {"dll-entry", "1|0|无法找到指定DLL库文件中的输出命令“TulvexNoSuchEntry”\n"},
      {"dll-index", "1|0|DLL命令 1 未定义\n"},
      {"routine-4", "1|0|运行时例程 4 不存在\n"},
  };
  for (const Case& test : cases) {
    DWORD exit_code = 0;
    EXPECT_EQ(RunWithHandler(test.mode, &exit_code), test.log) << test.mode;
    EXPECT_EQ(exit_code, kExitMinusOne) << test.mode;
  }
}

}  // namespace
