// The main window's own events: creation (the remembered choices, drops),
// resizing the job list with the window, the two popup menus and the
// advertising item.
#include "app/main_window.h"

#include "app/control_library_calls.h"
#include "app/file_drop.h"
#include "app/job_window.h"
#include "app/web_addresses.h"
#include "app/window_access.h"
#include "runtime/core_commands.h"
#include "runtime/event_handler.h"
#include "runtime/property_ids.h"
#include "runtime/service_calls.h"

namespace tulvex {

void LoadSettings();  // settings_handlers.cpp

namespace {

// The job list keeps these margins to the window's outer size; the number
// and status columns keep their widths and the path column takes the rest.
// Pixels of a 96-DPI screen, as the template's places are.
constexpr int32_t kListWidthMargin = 8;
constexpr int32_t kListHeightMargin = 69;
constexpr int32_t kFixedColumnsWidth = 172;
constexpr int32_t kTemplateDpi = 96;

void PopUpAtMouse(uint32_t menu) { services::Call(PopUpMenu, {Value{kMainWindow, menu, kMenuReferenceTag}}); }

// The labels overlap the controls they name by a few pixels (the add
// button, the quality box); beneath them and clipped by them, they leave
// those whole.
void PutLabelsBeneath() {
  for (const uint32_t label : {kToolRowLabel, kQualityLabel}) {
    const HWND handle = ControlHandle(label);
    if (!handle) continue;
    SetWindowLongPtrA(handle, GWL_STYLE, GetWindowLongPtrA(handle, GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(handle, HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

}  // namespace
}  // namespace tulvex

using namespace tulvex;

extern "C" int32_t OnMainWindowCreated(int32_t, const Value*) {
  LoadSettings();
  PutLabelsBeneath();
  // Without the subclass the window only takes no drops: the add actions
  // still fill the list, and there is nothing a user could do about it.
  AcceptDroppedFiles(MainWindowHandle());
  ShowJobsInWindow(MainWindowHandle());
  return 0;
}

extern "C" int32_t OnMainWindowResized(int32_t, const Value*) {
  // The runtime scales the window's layout to its screen; the margins follow.
  const int32_t dpi = ReadNumber(kWindowItself, kWindowDpi);
  const auto scaled = [dpi](int32_t pixels) { return MulDiv(pixels, dpi, kTemplateDpi); };
  const int32_t width = ReadNumber(kWindowItself, kPropertyWidth) - scaled(kListWidthMargin);
  const int32_t height = ReadNumber(kWindowItself, kPropertyHeight) - scaled(kListHeightMargin);
  WriteNumber(kJobList, kPropertyWidth, width);
  WriteNumber(kJobList, kPropertyHeight, height);
  SetJobColumnWidth(kPathColumn, width - scaled(kFixedColumnsWidth));
  return 0;
}

extern "C" int32_t OnAddButtonClicked(int32_t, const Value*) {
  PopUpAtMouse(kAddMenu);
  return 0;
}

extern "C" int32_t OnJobListRightClicked(int32_t, const Value*) {
  PopUpAtMouse(kRowMenu);
  return 0;
}

extern "C" int32_t OnAdvertisingChosen(int32_t, const Value*) {
  services::CallLibrary(OpenWebPage, {LendText(kAdvertisingTarget)});
  return 0;
}
