// The edit box ("编辑框"): a single-line system edit control; the caption
// of its template is its initial content.
#include "runtime/property_ids.h"
#include "runtime/windows/standard_controls/child_control.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/standard_controls/standard_types.h"

namespace {

constexpr char kEditClass[] = "TulvexEdit";
WNDPROC g_system_procedure = nullptr;

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kReflectedCommand) return 0;
  const LRESULT result = CallWindowProcA(g_system_procedure, edit, message, wparam, lparam);
  RaiseFocusEvents(edit, message);
  return result;
}

HWND CreateEditBox(const ControlCreateInfo& info) {
  if (!g_system_procedure) g_system_procedure = SuperclassSystemControl("EDIT", kEditClass, EditProc);
  if (!g_system_procedure) return nullptr;
  return CreateChildControl(kEditClass, ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP, WS_EX_CLIENTEDGE, info);
}

bool ReadEditBox(ControlInstance& control, int32_t property, Value* value) {
  if (property != kEditBoxText) return false;
  *value = NewTextValue(WindowTextOf(control.handle));
  return true;
}

bool WriteEditBox(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1) {
  if (property != kEditBoxText) return false;
  SetWindowTextA(control.handle, TextOfWords(word0, word1));
  return true;
}

}  // namespace

const ControlType* EditBoxControlType() {
  static const ControlType type = {kEditBoxTypeId, kEditBoxTypeName, false, CreateEditBox, ReadEditBox,
                                   WriteEditBox};
  return &type;
}
