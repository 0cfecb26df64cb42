// The button group seen from outside: each case runs programs/buttons_app as
// a child process (real mouse moves, clicks and keys driven by its own
// thread) and compares its exit code and its log with what must happen.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/child_program.h"

namespace {

// The screenshot scenario takes the picture's path as an extra argument.
ChildRun RunButtonsApp(const std::string& scenario, const std::string& extra = std::string()) {
  return RunChildProgram(TULVEX_BUTTONS_APP, scenario,
                         extra.empty() ? std::vector<std::string>() : std::vector<std::string>{extra});
}

// Drawing in the reflected WM_DRAWITEM (the green face), hot colours under
// the real mouse, the record versions' fields, the link's hover colour,
// focus events and borders, the label over the window, the themed border,
// the mouse pointer, the check box, Enter on the default button unless the
// window moves the focus on Enter, and a menu choice past the separator
// drawn by the component.
TEST(Buttons, ControlsDrawFollowTheMouseAndRaiseTheirEvents) {
  const ChildRun run = RunButtonsApp("events");
  EXPECT_EQ(run.exit_code, 3u);
  ExpectLog(run, {
      "created",
      "button face green=1",
      "button hot yellow=1 back to green=1",
      "picture red=16 magenta=0 disabled gray=1 red=0 enabled again=1",
      "versions style=0,1,2 checkbox=0,1 default=0,1 disabled-colour=0xff000000,0xff00 tip=添加要转换的图片",
      "tool tips 添加要转换的图片 / (none)",
      "link type=1 web=http://www.example.com/ email=someone@example.com caption=欢迎使用本软件",
      "link red=1 hover green=1 capture taken red=1 hover again=1 left red=1",
      "link empty e-mail normal=1 opened visited=1",
      "label blue=1 window face=1 cleared blue=0 after window repaint blue=1",
      "link gained focus",
      "link lost focus",
      "link borders raised=0x1 frame=0x201 themed outline=1 without border=0",
      "pointer cross then own=1",
      "check clicked checked=1",
      "check clicked checked=0",
      "default clicked",
      "enter handled=1",
      "enter moved focus=1 default clicked=0",
      "add clicked count=0",
      "chosen 添加文件夹",
      "popup returned owner-drawn=1",
      "loop returned",
  });
}

TEST(Buttons, MenusWithoutTheComponentStayTheSystems) {
  const ChildRun run = RunButtonsApp("plain_menu");
  EXPECT_EQ(run.exit_code, 3u);
  ExpectLog(run, {"created plain", "chosen 添加文件夹", "popup returned owner-drawn=0", "loop returned"});
}

// A record the control cannot read fails the window's load: the runtime
// error report ends the program with -1.
TEST(Buttons, DamagedRecordsEndTheProgramThroughTheErrorReport) {
  for (const char* scenario : {"bad_version", "bad_block", "bad_link"}) {
    SCOPED_TRACE(scenario);
    const ChildRun run = RunButtonsApp(scenario);
    EXPECT_EQ(run.exit_code, 0xFFFFFFFFu) << "have " << static_cast<int32_t>(run.exit_code) << ", want -1";
    ExpectLog(run, {"error count=1 code=0 message=载入启动窗口失败"});
  }
}

TEST(Buttons, ScreenshotOfTheWindowWithItsMenuOpen) {
  const std::string path = TULVEX_BUTTONS_SCREENSHOT;
  DeleteFileA(path.c_str());
  const ChildRun run = RunButtonsApp("screenshot", path);
  EXPECT_EQ(run.exit_code, 3u);
  ExpectLog(run, {"created", "add clicked count=0", "screenshot saved=1", "popup returned owner-drawn=1",
                  "loop returned"});
}

}  // namespace
