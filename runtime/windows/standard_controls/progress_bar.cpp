// The progress bar ("进度条"): the common control msctls_progress32.
// Stored property record: i32 minimum, i32 maximum, i32 position (all
// optional as a group: an empty record keeps 0..100 at 0).
#include <windows.h>
#include <commctrl.h>

#include "runtime/property_ids.h"
#include "runtime/windows/standard_controls/child_control.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/standard_controls/standard_types.h"
#include "runtime/windows/templates/byte_cursor.h"

namespace {

HWND CreateProgressBar(const ControlCreateInfo& info) {
  int32_t minimum = 0, maximum = 100, position = 0;
  if (info.property_size != 0) {
    ByteCursor record(info.properties, info.property_size);
    minimum = record.I32();
    maximum = record.I32();
    position = record.I32();
    if (!record.AtEnd()) return nullptr;
  }
  // The bar raises no events: the system class serves as it is.
  const HWND bar = CreateChildControl(PROGRESS_CLASSA, 0, 0, info);
  if (!bar) return nullptr;
  SendMessageA(bar, PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
  SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  return bar;
}

bool ReadProgressBar(ControlInstance& control, int32_t property, Value* value) {
  switch (property) {
    case kProgressMinimum:
      *value = MakeInteger(static_cast<int32_t>(SendMessageA(control.handle, PBM_GETRANGE, TRUE, 0)));
      return true;
    case kProgressMaximum:
      *value = MakeInteger(static_cast<int32_t>(SendMessageA(control.handle, PBM_GETRANGE, FALSE, 0)));
      return true;
    case kProgressPosition:
      *value = MakeInteger(static_cast<int32_t>(SendMessageA(control.handle, PBM_GETPOS, 0, 0)));
      return true;
    default:
      return false;
  }
}

bool WriteProgressBar(ControlInstance& control, int32_t property, uint32_t word0, uint32_t) {
  const HWND bar = control.handle;
  const auto low = static_cast<LPARAM>(SendMessageA(bar, PBM_GETRANGE, TRUE, 0));
  const auto high = static_cast<LPARAM>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
  switch (property) {
    case kProgressMinimum:
      SendMessageA(bar, PBM_SETRANGE32, word0, high);
      return true;
    case kProgressMaximum:
      SendMessageA(bar, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(word0));
      return true;
    case kProgressPosition:
      SendMessageA(bar, PBM_SETPOS, word0, 0);
      return true;
    default:
      return false;
  }
}

}  // namespace

const ControlType* ProgressBarControlType() {
  static const ControlType type = {kProgressBarTypeId, kProgressBarTypeName, false, CreateProgressBar,
                                   ReadProgressBar, WriteProgressBar};
  return &type;
}
