// Start-up, event dispatch, properties and the ways out, seen from outside:
// each case runs the test application (programs/startup_app.cpp) as a child
// process and compares its exit code and its log with what must happen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/child_program.h"

namespace {

ChildRun RunApplication(const std::string& scenario) { return RunChildProgram(TULVEX_STARTUP_APP, scenario); }

// The test control logs its stored property record: u32 1, the text "记录"
// (GBK) with its NUL, a block holding i32 -2.
const char kCustomCreated[] =
    "custom create window=0x52010001 id=20 rect=320,60,100,24 caption=自定义 bytes=01000000bcc7c2bc0004000000feffffff";

TEST(Startup, LoadsTheWindowDispatchesEventsAndExitsNormally) {
  const ChildRun run = RunApplication("events");
  EXPECT_EQ(run.exit_code, 3u) << "the exit code the application passed";
  ExpectLog(run, {
      "library start owner-window=1",
      "registered=1 again=0",
      "initialised directory-ok=1",
      kCustomCreated,
      "created count=0",
      "caption=启动测试 edit=100 items=覆盖原图|保存在： selection=0 text=覆盖原图",
      "progress=0..10000 at 25 visible=0",
      "button left=10 top=10 width=80 height=32 visible=1 disabled=0",
      "check box caption=保留文件日期 checked=1",
      "custom word=11",
      "convert missing=-1 tag=0x80000301 too-few=-7",
      "clicked count=0",
      "edit=改过的内容 button=取消 tag=77 disabled=1",
      "check box clicked count=0 checked=0",
      "check box written checked=1",
      "combo changed count=0 selection=1 text=保存在：",
      "items=甲|乙|丙 selection=2",
      "size changed width=700 height=400",
      "chosen 添加文件夹",
      "popup returned",
      "worker started",
      "worker progress=5000 visible=1 edit=改过的内容 window-thread=0",
      "loop returned",
      "idle order=second,first dead-window-calls=0",
      "cleanup first index=0 window-thread=1",
      "cleanup second index=1",
      "library exit code=6 word=42",
  });
}

TEST(Startup, ExitFromAWorkerThreadIsPerformedByTheWindowThread) {
  const ChildRun run = RunApplication("worker_exit");
  EXPECT_EQ(run.exit_code, 7u);
  ExpectLog(run, {
      "library start owner-window=1",
      "registered=1 again=0",
      "initialised directory-ok=1",
      kCustomCreated,
      "created count=0",
      "worker exits",
      "cleanup first index=0 window-thread=1",
      "cleanup second index=1",
      "library exit code=6 word=42",
  });
}

// Fatal errors: the application's handler sees the message and suppresses
// the message box; the process still ends with -1 and no clean-up runs.
TEST(Startup, FatalErrorsEndTheProgramWithMinusOne) {
  struct Case {
    const char* scenario;
    std::vector<std::string> log;
  };
  const std::vector<std::string> started = {"library start owner-window=1", "registered=1 again=0"};
  const std::vector<std::string> loaded = {
      "initialised directory-ok=1",
      kCustomCreated,
      "created count=0"};
  // The lines up to the error, then the error and the libraries' exit.
  const auto log = [&](bool window_loaded, const std::string& message) {
    std::vector<std::string> lines = started;
    if (window_loaded) lines.insert(lines.end(), loaded.begin(), loaded.end());
    if (!window_loaded && message != "载入窗口模板数据段出错!") lines.push_back("initialised directory-ok=1");
    lines.push_back("error count=1 code=0 message=" + message);
    lines.push_back("library exit code=6 word=42");
    return lines;
  };
  const std::vector<Case> cases = {
      {"unknown_window", log(false, "载入启动窗口失败")},
      {"damaged", log(false, "载入窗口模板数据段出错!")},
      {"bad_property", log(true, "指定窗口尚未载入")},
      {"bad_event", log(true, "未找到引发事件的窗口组件")},
      {"bad_worker_property", log(true, "未载入欲访问窗口组件所在的窗口")},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.scenario);
    const ChildRun run = RunApplication(test.scenario);
    EXPECT_EQ(run.exit_code, 0xFFFFFFFFu) << "have " << static_cast<int32_t>(run.exit_code) << ", want -1";
    ExpectLog(run, test.log);
  }
}

}  // namespace
