// The button ("按钮"): a system push button; its click raises event 0.
#include "runtime/windows/dispatch.h"
#include "runtime/property_ids.h"
#include "runtime/windows/standard_controls/child_control.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/standard_controls/standard_types.h"

namespace {

constexpr char kButtonClass[] = "TulvexButton";
WNDPROC g_system_procedure = nullptr;

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kReflectedCommand) {
    if (HIWORD(wparam) == BN_CLICKED) RaiseControlEvent(button, kButtonClickedEvent);
    return 0;
  }
  const LRESULT result = CallWindowProcA(g_system_procedure, button, message, wparam, lparam);
  RaiseFocusEvents(button, message);
  return result;
}

HWND CreateButton(const ControlCreateInfo& info) {
  if (!g_system_procedure) g_system_procedure = SuperclassSystemControl("BUTTON", kButtonClass, ButtonProc);
  if (!g_system_procedure) return nullptr;
  return CreateChildControl(kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 0, info);
}

bool ReadButton(ControlInstance& control, int32_t property, Value* value) {
  if (property != kButtonCaption) return false;
  *value = NewTextValue(WindowTextOf(control.handle));
  return true;
}

bool WriteButton(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1) {
  if (property != kButtonCaption) return false;
  SetWindowTextA(control.handle, TextOfWords(word0, word1));
  return true;
}

}  // namespace

const ControlType* ButtonControlType() {
  static const ControlType type = {kButtonTypeId, kButtonTypeName, false, CreateButton, ReadButton, WriteButton};
  return &type;
}
