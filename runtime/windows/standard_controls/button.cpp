// The button ("按钮") and the check box ("选择框"): system buttons of style
// BS_PUSHBUTTON and BS_AUTOCHECKBOX, one superclass for both. A click
// raises event 0; a check box turns itself on or off first, so its
// handler reads the new state. A check box starts checked when its
// template says so.
#include "runtime/windows/dispatch.h"
#include "runtime/property_ids.h"
#include "runtime/windows/standard_controls/child_control.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/standard_controls/standard_types.h"

namespace {

constexpr char kButtonClass[] = "TulvexButton";
WNDPROC g_system_procedure = nullptr;

static_assert(kButtonClickedEvent == kCheckBoxClickedEvent, "both kinds raise the click as one event");

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kReflectedCommand) {
    if (HIWORD(wparam) == BN_CLICKED) RaiseControlEvent(button, kButtonClickedEvent);
    return 0;
  }
  const LRESULT result = CallWindowProcA(g_system_procedure, button, message, wparam, lparam);
  RaiseFocusEvents(button, message);
  return result;
}

HWND CreateOfStyle(const ControlCreateInfo& info, DWORD style) {
  if (!g_system_procedure) g_system_procedure = SuperclassSystemControl("BUTTON", kButtonClass, ButtonProc);
  if (!g_system_procedure) return nullptr;
  return CreateChildControl(kButtonClass, style | WS_TABSTOP, 0, info);
}

HWND CreateButton(const ControlCreateInfo& info) { return CreateOfStyle(info, BS_PUSHBUTTON); }

HWND CreateCheckBox(const ControlCreateInfo& info) {
  // A caption wider than the box wraps onto further lines.
  const HWND box = CreateOfStyle(info, BS_AUTOCHECKBOX | BS_MULTILINE);
  if (box && info.checked) SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  return box;
}

// Property 0 of both kinds is the caption.
static_assert(kButtonCaption == 0 && kCheckBoxCaption == 0, "one caption property");

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

bool ReadCheckBox(ControlInstance& control, int32_t property, Value* value) {
  if (property != kCheckBoxChecked) return ReadButton(control, property, value);
  *value = MakeLogical(SendMessageA(control.handle, BM_GETCHECK, 0, 0) == BST_CHECKED);
  return true;
}

bool WriteCheckBox(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1) {
  if (property != kCheckBoxChecked) return WriteButton(control, property, word0, word1);
  SendMessageA(control.handle, BM_SETCHECK, word0 != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  return true;
}

}  // namespace

const ControlType* ButtonControlType() {
  static const ControlType type = {kButtonTypeId, kButtonTypeName, false, CreateButton, ReadButton, WriteButton};
  return &type;
}

const ControlType* CheckBoxControlType() {
  static const ControlType type = {kCheckBoxTypeId, kCheckBoxTypeName, false, CreateCheckBox, ReadCheckBox,
                                   WriteCheckBox};
  return &type;
}
