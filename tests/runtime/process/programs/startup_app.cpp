// A small application on the runtime, started by the start-up tests as a
// child process: startup_app.exe <scenario> <log file>. Its entry routine
// does what a compiled application's does (initialise, register clean-up,
// load the start window, run the loop, exit); its handlers, bound in
// startup_window.tvw, drive the window and write what they see into the log,
// one line per observation, for the test to compare.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "imaging/convert_command.h"
#include "runtime/application_header.h"
#include "runtime/values/constant_data.h"
#include "runtime/control_types.h"
#include "runtime/windows/dispatch.h"
#include "runtime/values/memory.h"
#include "runtime/process/message_loop.h"
#include "runtime/windows/popup_menu.h"
#include "runtime/windows/properties.h"
#include "runtime/property_ids.h"
#include "runtime/process/runtime_error.h"
#include "runtime/process/runtime_state.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/templates/template_data.h"
#include "tests/support/child_log.h"
#include "tests/support/condition_wait.h"

namespace {

constexpr uint32_t kMainWindow = 0x52010001;
constexpr uint32_t kButton = 1, kEdit = 2, kCombo = 3, kProgress = 4, kCheckBox = 5, kMenu = 10, kCustom = 20;

std::string g_scenario;
DWORD g_main_thread = 0;

// Idle callbacks: the order of the first pass, and whether each ran.
std::string g_idle_order;
volatile LONG g_idle_seen = 0;
int g_dead_window_calls = 0;

void IdleFirst(uintptr_t argument) {
  if (g_idle_order.find("first") == std::string::npos) {
    g_idle_order += argument == 1 ? "first" : "first(wrong argument)";
  }
  InterlockedExchange(&g_idle_seen, 1);
}
void IdleSecond(uintptr_t argument) {
  if (g_idle_order.empty()) g_idle_order += argument == 2 ? "second," : "second(wrong argument),";
}
void IdleOfDeadWindow(uintptr_t) { ++g_dead_window_calls; }

void RegisterIdleCallbacks(HWND window) {
  const HWND dead = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(dead);
  RegisterIdleCallback(dead, IdleOfDeadWindow, 0);
  RegisterIdleCallback(window, IdleFirst, 1);
  RegisterIdleCallback(window, IdleSecond, 2);
}

bool OnWindowThread() { return GetCurrentThreadId() == g_main_thread; }

int32_t ReadNumber(uint32_t control, int32_t property) {
  return static_cast<int32_t>(ReadProperty(kMainWindow, control, property, -1).word0);
}

// A text property, with "\r\n" shown as "|" so that it fits one log line.
std::string ReadText(uint32_t control, int32_t property) {
  const Value value = ReadProperty(kMainWindow, control, property, -1);
  std::string text = TextOf(value);
  FreeMemory(PointerOf(value));
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "|");
  return text;
}

void WriteNumber(uint32_t control, int32_t property, int32_t number) {
  WriteProperty(kMainWindow, control, property, -1, static_cast<uint32_t>(number), 0);
}

void WriteText(uint32_t control, int32_t property, const char* text) {
  const Value value = LendText(text);
  WriteProperty(kMainWindow, control, property, -1, value.word0, value.word1);
}

HWND Handle(uint32_t control) { return reinterpret_cast<HWND>(ControlWindowHandle(kMainWindow, control)); }

void CleanupFirst(int32_t index) { Log("cleanup first index=%d window-thread=%d", index, OnWindowThread()); }
void CleanupSecond(int32_t index) { Log("cleanup second index=%d", index); }

// The test's own control type: a static text that logs its creation and
// keeps the first word of its record as property 0.
int32_t g_custom_word = 0;

HWND CreateTestControl(const ControlCreateInfo& info) {
  std::string bytes;
  for (uint32_t i = 0; i < info.property_size; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02x", info.properties[i]);
    bytes += hex;
  }
  Log("custom create window=%#x id=%u rect=%d,%d,%d,%d caption=%s bytes=%s", info.window_id, info.control_id,
      info.left, info.top, info.width, info.height, info.caption, bytes.c_str());
  if (info.property_size >= 4) std::memcpy(&g_custom_word, info.properties, 4);
  return CreateWindowExA(0, "STATIC", info.caption, WS_CHILD | (info.visible ? WS_VISIBLE : 0), info.left, info.top,
                         info.width, info.height, info.parent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(info.control_id)), nullptr, nullptr);
}

bool ReadTestControl(ControlInstance&, int32_t property, Value* value) {
  if (property != 0) return false;
  *value = MakeInteger(g_custom_word);
  return true;
}

bool WriteTestControl(ControlInstance&, int32_t property, uint32_t word0, uint32_t) {
  if (property != 0) return false;
  g_custom_word = static_cast<int32_t>(word0);
  return true;
}

const ControlType kTestControlType = {0x30099, "测试控件", false, CreateTestControl, ReadTestControl,
                                      WriteTestControl};

uintptr_t TestLibraryNotification(int32_t code, uintptr_t arg1, uintptr_t) {
  if (code == kLibraryNotifyStart) {
    const auto callback = reinterpret_cast<RuntimeCallback>(arg1);
    Log("library start owner-window=%d", IsWindow(reinterpret_cast<HWND>(callback(kRuntimeRequestOwnerWindow, 0, 0))) ? 1 : 0);
    const auto type = reinterpret_cast<uintptr_t>(&kTestControlType);
    const auto first = static_cast<unsigned>(callback(kRuntimeRequestRegisterType, type, 0));
    const auto again = static_cast<unsigned>(callback(kRuntimeRequestRegisterType, type, 0));
    Log("registered=%u again=%u", first, again);
    return 42;
  }
  Log("library exit code=%d word=%u", code, static_cast<unsigned>(arg1));
  return 0;
}

const LibraryEntry kLibraries[] = {{"test library", TestLibraryNotification}, {"silent library", nullptr}};

DWORD WINAPI PropertyWorker(void*) {
  WriteNumber(kProgress, kProgressPosition, 5000);
  WriteNumber(kProgress, kPropertyVisible, 1);
  Log("worker progress=%d visible=%d edit=%s window-thread=%d", ReadNumber(kProgress, kProgressPosition),
      ReadNumber(kProgress, kPropertyVisible), ReadText(kEdit, kEditBoxText).c_str(), OnWindowThread());
  // The window closes once the loop has idled at least once (the log shows
  // the idle callbacks missing if it never does).
  WaitForCondition([] { return g_idle_seen != 0; }, 10000);
  PostMessageA(Handle(0), WM_CLOSE, 0, 0);
  return 0;
}

DWORD WINAPI ExitWorker(void*) {
  Log("worker exits");
  ExitProgram(7);
}

DWORD WINAPI BadPropertyWorker(void*) {
  ReadProperty(0x999, kButton, kPropertyLeft, -1);
  Log("worker survived a read of an unknown window");
  return 0;
}

// The program's icon, large and small, as the window's class and the window
// itself name it: the icons' widths, or "none".
void LogIcons(HWND window) {
  std::string widths;
  for (const uintptr_t handle : {static_cast<uintptr_t>(GetClassLongPtrA(window, GCLP_HICON)),
                                 static_cast<uintptr_t>(GetClassLongPtrA(window, GCLP_HICONSM)),
                                 static_cast<uintptr_t>(SendMessageA(window, WM_GETICON, ICON_BIG, 0)),
                                 static_cast<uintptr_t>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0))}) {
    ICONINFO icon = {};
    BITMAP mask = {};
    if (handle && GetIconInfo(reinterpret_cast<HICON>(handle), &icon)) GetObjectA(icon.hbmMask, sizeof mask, &mask);
    DeleteObject(icon.hbmMask), DeleteObject(icon.hbmColor);
    widths += (widths.empty() ? "" : " ") + (mask.bmWidth ? std::to_string(mask.bmWidth) : "none");
  }
  Log("icons %s", widths.c_str());
}

void LogConversions() {
  const Value missing[] = {LendText("Z:\\no such folder\\picture.bmp"), LendText("picture.jpg"), MakeLogical(false),
                           MakeInteger(90), MakeLogical(false), MakeInteger(0)};
  const Value result = CallCommand(ConvertPictureToJpeg, missing);
  const Value too_few = CallCommand(ConvertPictureToJpeg, 1, missing);
  Log("convert missing=%d tag=%#x too-few=%d", static_cast<int32_t>(result.word0), result.tag,
      static_cast<int32_t>(too_few.word0));
}

}  // namespace

extern "C" int32_t StartupWindowCreated(int32_t count, const Value*) {
  Log("created count=%d", count);
  if (g_scenario == "worker_exit") {
    RunDetached(ExitWorker);
    return 0;
  }
  if (g_scenario == "bad_property") ReadProperty(0x999, 0, kWindowCaption, -1);
  if (g_scenario == "bad_event") RaiseEvent(kMainWindow, 999, 0);
  if (g_scenario == "bad_worker_property") {
    RunDetached(BadPropertyWorker);
    return 0;
  }
  Log("caption=%s edit=%s items=%s selection=%d text=%s", ReadText(0, kWindowCaption).c_str(),
      ReadText(kEdit, kEditBoxText).c_str(), ReadText(kCombo, kComboBoxItems).c_str(),
      ReadNumber(kCombo, kComboBoxSelection), ReadText(kCombo, kComboBoxCurrentText).c_str());
  Log("progress=%d..%d at %d visible=%d", ReadNumber(kProgress, kProgressMinimum),
      ReadNumber(kProgress, kProgressMaximum), ReadNumber(kProgress, kProgressPosition),
      ReadNumber(kProgress, kPropertyVisible));
  Log("button left=%d top=%d width=%d height=%d visible=%d disabled=%d", ReadNumber(kButton, kPropertyLeft),
      ReadNumber(kButton, kPropertyTop), ReadNumber(kButton, kPropertyWidth), ReadNumber(kButton, kPropertyHeight),
      ReadNumber(kButton, kPropertyVisible), ReadNumber(kButton, kPropertyDisabled));
  LogIcons(Handle(0));
  Log("check box caption=%s checked=%d", ReadText(kCheckBox, kCheckBoxCaption).c_str(),
      ReadNumber(kCheckBox, kCheckBoxChecked));
  WriteNumber(kCustom, 0, ReadNumber(kCustom, 0) + 10);
  Log("custom word=%d", ReadNumber(kCustom, 0));
  LogConversions();
  RegisterIdleCallbacks(Handle(0));
  PostMessageA(Handle(kButton), BM_CLICK, 0, 0);
  return 0;
}

extern "C" int32_t StartupButtonClicked(int32_t count, const Value*) {
  Log("clicked count=%d", count);
  WriteText(kEdit, kEditBoxText, "改过的内容");
  WriteText(kButton, kButtonCaption, "取消");
  WriteNumber(kButton, kPropertyTag, 77);
  WriteNumber(kButton, kPropertyDisabled, 1);
  Log("edit=%s button=%s tag=%d disabled=%d", ReadText(kEdit, kEditBoxText).c_str(),
      ReadText(kButton, kButtonCaption).c_str(), ReadNumber(kButton, kPropertyTag),
      ReadNumber(kButton, kPropertyDisabled));

  // A click turns the check box off, then raises its event.
  SendMessageA(Handle(kCheckBox), BM_CLICK, 0, 0);

  // A selection set by the program raises nothing; the user's choice comes
  // as CBN_SELCHANGE, sent here the way the combo box sends it.
  WriteNumber(kCombo, kComboBoxSelection, 1);
  SendMessageA(Handle(0), WM_COMMAND, MAKEWPARAM(kCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Handle(kCombo)));
  WriteText(kCombo, kComboBoxItems, "甲\r\n乙\r\n丙");
  WriteText(kCombo, kComboBoxCurrentText, "丙");
  Log("items=%s selection=%d", ReadText(kCombo, kComboBoxItems).c_str(), ReadNumber(kCombo, kComboBoxSelection));

  WriteNumber(0, kPropertyWidth, 700);
  // Moved to a 144-DPI screen: the controls grow by half, the window takes
  // the rectangle the system suggests.
  RECT suggested = {50, 50, 1050, 650};
  SendMessageA(Handle(0), 0x02E0, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  Log("dpi=%d edit=%d,%d %dx%d", ReadNumber(0, kWindowDpi), ReadNumber(kEdit, kPropertyLeft),
      ReadNumber(kEdit, kPropertyTop), ReadNumber(kEdit, kPropertyWidth), ReadNumber(kEdit, kPropertyHeight));

  // The keys wait in the queue for the menu's own loop: down twice passes
  // the separator to the second item, return chooses it.
  const HWND window = Handle(0);
  PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
  const Value menu_args[] = {Value{kMainWindow, kMenu, kMenuTypeId}, OmittedArgument(), OmittedArgument()};
  CallCommand(PopUpMenu, menu_args);
  Log("popup returned");

  Log("worker started");
  RunDetached(PropertyWorker);
  return 0;
}

extern "C" int32_t StartupCheckBoxClicked(int32_t count, const Value*) {
  Log("check box clicked count=%d checked=%d", count, ReadNumber(kCheckBox, kCheckBoxChecked));
  return 0;
}

extern "C" int32_t StartupComboChanged(int32_t count, const Value*) {
  Log("combo changed count=%d selection=%d text=%s", count, ReadNumber(kCombo, kComboBoxSelection),
      ReadText(kCombo, kComboBoxCurrentText).c_str());
  return 0;
}

extern "C" int32_t StartupWindowSizeChanged(int32_t count, const Value* args) {
  if (count == 2 && args[0].tag == kTagInteger) {
    Log("size changed width=%d height=%d", static_cast<int32_t>(args[0].word0), static_cast<int32_t>(args[1].word0));
  } else {
    Log("size changed with %d arguments", count);
  }
  return 0;
}

extern "C" int32_t StartupAddPictures(int32_t, const Value*) {
  Log("chosen 添加图片");
  return 0;
}

extern "C" int32_t StartupAddFolder(int32_t, const Value*) {
  Log("chosen 添加文件夹");
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  StartChildLog(argv[2]);
  g_scenario = argv[1];
  g_main_thread = GetCurrentThreadId();

  ApplicationHeader header = {ProgramCodeBase(), ConstantDataStart(), ConstantDataSize(), TulvexTemplateData, TulvexTemplateDataSize,
                              2, kLibraries, 0, nullptr, nullptr};
  if (g_scenario == "damaged") header.template_data_size -= 1;

  SetErrorHandler(LogError);
  InitialiseRuntime(header);
  Log("initialised directory-ok=%d", std::strchr(ProgramFileName(), '\\') == nullptr &&
                                         std::strstr(ProgramFileName(), "startup_app") != nullptr);
  RegisterCleanupRoutine(CleanupFirst);
  RegisterCleanupRoutine(CleanupSecond);
  RegisterCleanupRoutine(CleanupFirst);  // registered once only

  LoadStartWindow(g_scenario == "unknown_window" ? 0x7777u : kMainWindow);
  RunMessageLoop();
  Log("loop returned");
  if (g_scenario == "events") {
    Log("idle order=%s dead-window-calls=%d", g_idle_order.c_str(), g_dead_window_calls);
  }
  ExitProgram(3);
}
