// A small application on the runtime with the button group's controls,
// started by the button tests as a child process:
//   buttons_app.exe <scenario> <log file> [<screenshot file>]
// Its handlers (bound in buttons_window.tvw) log the events they receive; a
// driver thread moves the real mouse, clicks and presses keys, and logs what
// the controls then show (pixels of their colours, their properties).
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "controls/hyperlink.h"
#include "controls/popup_menu_component.h"
#include "controls/super_button.h"
#include "controls/transparent_label.h"
#include "runtime/application_header.h"
#include "runtime/control_types.h"
#include "runtime/process/runtime_error.h"
#include "runtime/process/runtime_state.h"
#include "runtime/process/window_thread.h"
#include "runtime/property_ids.h"
#include "runtime/values/constant_data.h"
#include "runtime/windows/popup_menu.h"
#include "runtime/windows/properties.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/templates/template_data.h"
#include "tests/controls/programs/screen_pixels.h"
#include "tests/controls/programs/window_thread_idle.h"
#include "tests/support/child_log.h"
#include "tests/support/condition_wait.h"

namespace {

constexpr uint32_t kMainWindow = 0x52010001, kPlainWindow = 0x52010002;
constexpr uint32_t kMenu = 10, kAddButton = 20, kCheckButton = 21, kDefaultButton = 22, kEdit = 30, kLink = 40,
                   kLabel = 50;
const COLORREF kGreenFace = RGB(0, 0xA0, 0), kYellowFace = RGB(0xFF, 0xFF, 0);
const COLORREF kPictureRed = RGB(0xFF, 0, 0), kMagenta = RGB(0xFF, 0, 0xFF);
// The picture's red grayed: luminance 255 * 30 / 100 = 76, 128 + 76 / 2.
const COLORREF kGrayedRed = RGB(166, 166, 166);
const COLORREF kLinkRed = RGB(0xFF, 0, 0), kLinkGreen = RGB(0, 0xFF, 0), kLinkVisited = RGB(0, 0, 0x80);
const COLORREF kLabelBlue = RGB(0, 0, 0xFF);
const COLORREF kThemedOutline = RGB(0, 60, 116);  // the themed button's border line

std::string g_scenario, g_screenshot_path;
volatile LONG g_clicks = 0;   // every handler run, for the driver to wait on
volatile LONG g_menu_draws = 0;  // WM_DRAWITEM of menu items seen by the window
HHOOK g_draw_hook = nullptr;

HWND Handle(uint32_t window, uint32_t control) {
  return reinterpret_cast<HWND>(ControlWindowHandle(window, control));
}

int32_t ReadNumber(uint32_t control, int32_t property) {
  return static_cast<int32_t>(ReadProperty(kMainWindow, control, property, -1).word0);
}

std::string ReadText(uint32_t control, int32_t property) {
  const Value value = ReadProperty(kMainWindow, control, property, -1);
  std::string text = TextOf(value);
  FreeMemory(PointerOf(value));
  return text;
}

void WriteText(uint32_t control, int32_t property, const char* text) {
  const Value value = LendText(text);
  WriteProperty(kMainWindow, control, property, -1, value.word0, value.word1);
}

// Waits until the handlers have run `count` times in all (5 s at most).
bool WaitForClicks(LONG count) {
  return WaitForCondition([=] { return g_clicks >= count; }, 5000);
}

HCURSOR CursorOfWindowThread() {
  HCURSOR cursor = nullptr;
  RunOnWindowThread([](void* out) { *static_cast<HCURSOR*>(out) = GetCursor(); }, &cursor);
  return cursor;
}

void FocusOnWindowThread(HWND control) {
  RunOnWindowThread([](void* to) { SetFocus(static_cast<HWND>(to)); }, control);
}

void CountHandlerRun() { InterlockedIncrement(&g_clicks); }

LRESULT CALLBACK DrawHook(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && call->message == WM_DRAWITEM &&
      reinterpret_cast<const DRAWITEMSTRUCT*>(call->lParam)->CtlType == ODT_MENU) {
    InterlockedIncrement(&g_menu_draws);
  }
  return CallNextHookEx(g_draw_hook, code, wparam, lparam);
}

// Pops up the menu with Down, Down, Return waiting in the queue: the second
// Down has to pass the separator.
void PopUpMenuAndChoose(uint32_t window) {
  const HWND handle = Handle(window, 0);
  if (g_scenario != "screenshot") {
    PostMessageA(handle, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(handle, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(handle, WM_KEYDOWN, VK_RETURN, 0);
  }
  g_menu_draws = 0;
  const Value args[] = {Value{window, kMenu, kMenuTypeId}, OmittedArgument(), OmittedArgument()};
  CallCommand(PopUpMenu, args);
  Log("popup returned owner-drawn=%d", g_menu_draws > 0 ? 1 : 0);
}

// The driver's steps, each waiting until what it caused has been painted
// or handled.
void CheckButtonLooks() {
  Log("button face green=%d", CountControlPixels(Handle(kMainWindow, kAddButton), kGreenFace) > 100 ? 1 : 0);
  MoveMouseTo(Handle(kMainWindow, kAddButton));
  const bool hot = WaitForPixels(Handle(kMainWindow, kAddButton), kYellowFace, 100);
  MoveMouseTo(Handle(kMainWindow, kEdit));
  const bool cold = WaitForPixels(Handle(kMainWindow, kAddButton), kGreenFace, 100);
  Log("button hot yellow=%d back to green=%d", hot ? 1 : 0, cold ? 1 : 0);
}

// The picture without its transparent colour, and its grayed copy while the
// button is disabled.
void CheckButtonPicture() {
  const HWND button = Handle(kMainWindow, kAddButton);
  const int red = CountControlPixels(button, kPictureRed), magenta = CountControlPixels(button, kMagenta);
  WriteProperty(kMainWindow, kAddButton, kPropertyDisabled, -1, 1, 0);
  UpdateWindow(button);
  const bool grayed = WaitForPixels(button, kGrayedRed, 16);
  const int disabled_red = CountControlPixels(button, kPictureRed);
  WriteProperty(kMainWindow, kAddButton, kPropertyDisabled, -1, 0, 0);
  UpdateWindow(button);
  const bool enabled = WaitForPixels(button, kPictureRed, 16);
  Log("picture red=%d magenta=%d disabled gray=%d red=%d enabled again=%d", red, magenta, grayed ? 1 : 0,
      disabled_red, enabled ? 1 : 0);
}

// The tool tip window of a button and the text of its one tool.
std::string ToolTipTextOf(HWND button) {
  std::string text = "(none)";
  const HWND window = Handle(kMainWindow, 0);
  for (HWND tip = FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr); tip;
       tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)) {
    if (GetWindowThreadProcessId(tip, nullptr) != GetWindowThreadProcessId(window, nullptr)) continue;
    char buffer[256] = "";
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.lpszText = buffer;
    if (SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)) &&
        tool.uId == reinterpret_cast<UINT_PTR>(button)) {
      text = buffer;
    }
  }
  return text;
}

void CheckRecordFields() {
  Log("versions style=%d,%d,%d checkbox=%d,%d default=%d,%d disabled-colour=%#x,%#x tip=%s",
      ReadNumber(kAddButton, kButtonStyleProperty), ReadNumber(kCheckButton, kButtonStyleProperty),
      ReadNumber(kDefaultButton, kButtonStyleProperty), ReadNumber(kAddButton, kButtonCheckBoxProperty),
      ReadNumber(kCheckButton, kButtonCheckBoxProperty), ReadNumber(kAddButton, kButtonDefaultStyleProperty),
      ReadNumber(kDefaultButton, kButtonDefaultStyleProperty),
      static_cast<unsigned>(ReadNumber(kAddButton, kButtonTransColorDisabledProperty)),
      static_cast<unsigned>(ReadNumber(kDefaultButton, kButtonTransColorDisabledProperty)),
      ReadText(kAddButton, kButtonToolTipProperty).c_str());
  Log("tool tips %s / %s", ToolTipTextOf(Handle(kMainWindow, kAddButton)).c_str(),
      ToolTipTextOf(Handle(kMainWindow, kCheckButton)).c_str());
  Log("link type=%d web=%s email=%s caption=%s", ReadNumber(kLink, kHyperlinkLinkType),
      ReadText(kLink, kHyperlinkWeb).c_str(), ReadText(kLink, kHyperlinkEmail).c_str(),
      ReadText(kLink, kHyperlinkCaption).c_str());
}

void CheckHyperlinkHover() {
  const HWND link = Handle(kMainWindow, kLink);
  const bool normal = CountControlPixels(link, kLinkRed) > 0 && CountControlPixels(link, kLinkGreen) == 0;
  MoveMouseTo(link);
  const bool hover = WaitForPixels(link, kLinkGreen, 1) && CountControlPixels(link, kLinkRed) == 0;
  // The edit box takes the mouse on a button press: the link, which can no
  // longer see the pointer leave, stops hovering.
  const HWND edit = Handle(kMainWindow, kEdit);
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  const bool taken = WaitForPixels(link, kLinkRed, 1) && CountControlPixels(link, kLinkGreen) == 0;
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  MoveMouseTo(edit);
  WaitForWindowThreadIdle();
  MoveMouseTo(link);
  const bool again = WaitForPixels(link, kLinkGreen, 1);
  MoveMouseTo(edit);
  const bool left = WaitForPixels(link, kLinkRed, 1) && CountControlPixels(link, kLinkGreen) == 0;
  Log("link red=%d hover green=%d capture taken red=%d hover again=%d left red=%d", normal ? 1 : 0, hover ? 1 : 0,
      taken ? 1 : 0, again ? 1 : 0, left ? 1 : 0);
}

// A click opens the target; the link shows the visited colour once the
// mouse has left. The target is this program itself, which ends at once
// without arguments. An e-mail link without an address opens nothing. The
// second click is away from the first, so that it is no double click.
void CheckHyperlinkClick() {
  const HWND link = Handle(kMainWindow, kLink);
  WriteText(kLink, kHyperlinkEmail, "");
  WriteProperty(kMainWindow, kLink, kHyperlinkLinkType, -1, 0, 0);
  MoveMouseTo(link);
  WaitForPixels(link, kLinkGreen, 1);
  ClickMouse();
  WaitForWindowThreadIdle();
  MoveMouseTo(Handle(kMainWindow, kEdit));
  const bool empty_not_visited = WaitForPixels(link, kLinkRed, 1);

  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  WriteText(kLink, kHyperlinkWeb, program);
  WriteProperty(kMainWindow, kLink, kHyperlinkLinkType, -1, 1, 0);
  MoveMouseTo(link, 4 * GetSystemMetrics(SM_CXDOUBLECLK));
  WaitForPixels(link, kLinkGreen, 1);
  ClickMouse();
  WaitForWindowThreadIdle();
  MoveMouseTo(Handle(kMainWindow, kEdit));
  // The shell starts the program before the click returns: that takes a while.
  const bool visited = WaitForPixels(link, kLinkVisited, 1, 15000) && CountControlPixels(link, kLinkRed) == 0;
  Log("link empty e-mail normal=%d opened visited=%d", empty_not_visited ? 1 : 0, visited ? 1 : 0);
}

void CheckLabel() {
  const HWND label = Handle(kMainWindow, kLabel);
  const bool text = CountControlPixels(label, kLabelBlue) > 0;
  const bool face = CountControlPixels(label, GetSysColor(COLOR_BTNFACE)) > 0;
  WriteText(kLabel, kLabelCaption, "");
  UpdateWindow(label);
  WaitForCondition([=] { return CountControlPixels(label, kLabelBlue) == 0; }, 3000);
  const int cleared = CountControlPixels(label, kLabelBlue);
  // The window repainted whole, children too: the caption comes back.
  // A busy Wine can show a repaint late: the window is repainted again while
  // the caption has not come back.
  WriteText(kLabel, kLabelCaption, "待转的图片：");
  const bool back = WaitForCondition([=] {
    RedrawWindow(Handle(kMainWindow, 0), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return WaitForPixels(label, kLabelBlue, 1, 1000);
  }, 10000);
  Log("label blue=%d window face=%d cleared blue=%d after window repaint blue=%d", text ? 1 : 0, face ? 1 : 0,
      cleared, back ? 1 : 0);
}

// The link's focus events and border table, and the themed button's
// outline, left out without its border.
void CheckFocusEventsAndBorders() {
  const HWND link = Handle(kMainWindow, kLink), button = Handle(kMainWindow, kDefaultButton);
  FocusOnWindowThread(link);
  FocusOnWindowThread(Handle(kMainWindow, kEdit));
  LONG_PTR edges[2] = {};
  for (uint32_t border : {2u, 4u}) {
    WriteProperty(kMainWindow, kLink, kHyperlinkBorder, -1, border, 0);
    edges[border / 4] = GetWindowLongPtrA(link, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME);
  }
  const bool outline = CountControlPixels(button, kThemedOutline) > 0;
  WriteProperty(kMainWindow, kDefaultButton, kButtonDrawBorderProperty, -1, 0, 0);
  const bool gone = WaitForCondition([=] { return CountControlPixels(button, kThemedOutline) == 0; }, 3000);
  Log("link borders raised=%#x frame=%#x themed outline=%d without border=%d", static_cast<unsigned>(edges[0]),
      static_cast<unsigned>(edges[1]), outline ? 1 : 0, gone ? 0 : 1);
}

// The cross over the button while its mouse pointer says so, its own
// arrow at 0. The pointer enters the button anew for each try: Wine may
// merge two moves sent close together into one that never left the button.
void CheckMousePointer() {
  int shown = 0;
  for (uint32_t pointer : {2u, 0u}) {
    WriteProperty(kMainWindow, kAddButton, kPropertyMousePointer, -1, pointer, 0);
    const HCURSOR wanted = LoadCursor(nullptr, pointer ? IDC_CROSS : IDC_ARROW);
    bool seen = false;
    for (int attempt = 0; attempt < 3 && !seen; ++attempt) {
      MoveMouseTo(Handle(kMainWindow, kEdit));
      WaitForWindowThreadIdle();
      MoveMouseTo(Handle(kMainWindow, kAddButton));
      seen = WaitForCondition([=] { return CursorOfWindowThread() == wanted; }, 2000);
    }
    shown += seen ? 1 : 0;
  }
  Log("pointer cross then own=%d", shown == 2 ? 1 : 0);
}

// A window that moves the focus on Enter gives Enter to no default button.
// Under Wine the window's activation can still be settling from the checks
// before and take the focus away between the steps: the focus is waited for
// on both sides of the key, and the key is given again from the edit box
// when the focus went astray. A window that does not move the focus fails
// every try; a default button pressed on any try is counted.
void CheckEnterMovesFocus() {
  WriteProperty(kMainWindow, 0, kWindowEnterMovesFocus, -1, 1, 0);
  const LONG clicks = g_clicks;
  const DWORD thread_id = GetWindowThreadProcessId(Handle(kMainWindow, 0), nullptr);
  const auto focus_is = [thread_id](HWND wanted) {
    return WaitForCondition([=] {
      GUITHREADINFO thread = {sizeof thread};
      return GetGUIThreadInfo(thread_id, &thread) && thread.hwndFocus == wanted;
    }, 3000);
  };
  bool moved = false;
  for (int attempt = 0; attempt < 3 && !moved; ++attempt) {
    FocusOnWindowThread(Handle(kMainWindow, kEdit));
    if (!focus_is(Handle(kMainWindow, kEdit))) continue;
    PostMessageA(Handle(kMainWindow, kEdit), WM_KEYDOWN, VK_RETURN, 0);
    moved = focus_is(Handle(kMainWindow, kAddButton));
    WaitForWindowThreadIdle();
  }
  Log("enter moved focus=%d default clicked=%d", moved ? 1 : 0, g_clicks != clicks ? 1 : 0);
}

DWORD WINAPI Driver(void*) {
  WaitForWindowThreadIdle();  // the window is shown and painted
  CheckButtonLooks();
  CheckButtonPicture();
  CheckRecordFields();
  CheckHyperlinkHover();
  CheckHyperlinkClick();
  CheckLabel();
  CheckFocusEventsAndBorders();
  CheckMousePointer();

  SendMessageA(Handle(kMainWindow, kCheckButton), BM_CLICK, 0, 0);
  SendMessageA(Handle(kMainWindow, kCheckButton), BM_CLICK, 0, 0);
  PostMessageA(Handle(kMainWindow, kEdit), WM_KEYDOWN, VK_RETURN, 0);
  Log("enter handled=%d", WaitForClicks(3) ? 1 : 0);
  CheckEnterMovesFocus();
  SendMessageA(Handle(kMainWindow, kAddButton), BM_CLICK, 0, 0);
  PostMessageA(Handle(kMainWindow, 0), WM_CLOSE, 0, 0);
  return 0;
}

// Shows the menu over the window with the link hot, and saves the screen.
DWORD WINAPI ScreenshotDriver(void*) {
  WaitForWindowThreadIdle();
  MoveMouseTo(Handle(kMainWindow, kLink));
  WaitForPixels(Handle(kMainWindow, kLink), kLinkGreen, 1);
  PostMessageA(Handle(kMainWindow, kAddButton), BM_CLICK, 0, 0);
  // The menu's own loop runs now, its items drawn by the component.
  WaitForCondition([] { return g_menu_draws > 0; }, 10000);
  Log("screenshot saved=%d", SaveScreen(g_screenshot_path.c_str()) ? 1 : 0);
  PostMessageA(Handle(kMainWindow, 0), WM_KEYDOWN, VK_ESCAPE, 0);
  WaitForWindowThreadIdle();  // the menu is closed and its handler has returned
  PostMessageA(Handle(kMainWindow, 0), WM_CLOSE, 0, 0);
  return 0;
}

uintptr_t ButtonsLibraryNotification(int32_t code, uintptr_t arg1, uintptr_t) {
  if (code != kLibraryNotifyStart) return 0;
  const auto callback = reinterpret_cast<RuntimeCallback>(arg1);
  const ControlType* types[] = {SuperButtonControlType(), HyperlinkControlType(), TransparentLabelControlType(),
                                PopupMenuComponentControlType()};
  for (const ControlType* type : types) {
    if (!callback(kRuntimeRequestRegisterType, reinterpret_cast<uintptr_t>(type), 0)) Log("type refused");
  }
  return 0;
}

const LibraryEntry kLibraries[] = {{"button group", ButtonsLibraryNotification}};

}  // namespace

extern "C" int32_t ButtonsWindowCreated(int32_t, const Value*) {
  Log("created");
  g_draw_hook = SetWindowsHookExA(WH_CALLWNDPROC, DrawHook, nullptr, GetCurrentThreadId());
  WatchWindowThreadIdle(Handle(kMainWindow, 0));
  RunDetached(g_scenario == "screenshot" ? ScreenshotDriver : Driver);
  return 0;
}

extern "C" int32_t ButtonsPlainWindowCreated(int32_t, const Value*) {
  Log("created plain");
  g_draw_hook = SetWindowsHookExA(WH_CALLWNDPROC, DrawHook, nullptr, GetCurrentThreadId());
  PopUpMenuAndChoose(kPlainWindow);
  PostMessageA(Handle(kPlainWindow, 0), WM_CLOSE, 0, 0);
  return 0;
}

extern "C" int32_t ButtonsAddClicked(int32_t count, const Value*) {
  Log("add clicked count=%d", count);
  CountHandlerRun();
  PopUpMenuAndChoose(kMainWindow);
  return 0;
}

extern "C" int32_t ButtonsCheckClicked(int32_t, const Value*) {
  Log("check clicked checked=%d", ReadNumber(kCheckButton, kButtonCheckedProperty));
  CountHandlerRun();
  return 0;
}

extern "C" int32_t ButtonsDefaultClicked(int32_t, const Value*) {
  Log("default clicked");
  CountHandlerRun();
  return 0;
}

extern "C" int32_t ButtonsLinkFocus(int32_t, const Value*) { Log("link gained focus"); return 0; }
extern "C" int32_t ButtonsLinkFocusLost(int32_t, const Value*) { Log("link lost focus"); return 0; }

extern "C" int32_t ButtonsAddPictures(int32_t, const Value*) {
  Log("chosen 添加图片");
  return 0;
}

extern "C" int32_t ButtonsAddFolder(int32_t, const Value*) {
  Log("chosen 添加文件夹");
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  StartChildLog(argv[2]);
  g_scenario = argv[1];
  if (argc > 3) g_screenshot_path = argv[3];

  const ApplicationHeader header = {ProgramCodeBase(), ConstantDataStart(), ConstantDataSize(), TulvexTemplateData,
                                    TulvexTemplateDataSize, 1, kLibraries, 0, nullptr, nullptr};
  SetErrorHandler(LogError);
  InitialiseRuntime(header);
  uint32_t start = kMainWindow;
  if (g_scenario == "plain_menu") start = kPlainWindow;
  if (g_scenario == "bad_version") start = 0x52010003;
  if (g_scenario == "bad_block") start = 0x52010004;
  if (g_scenario == "bad_link") start = 0x52010005;
  LoadStartWindow(start);
  RunMessageLoop();
  Log("loop returned");
  ExitProgram(3);
}
