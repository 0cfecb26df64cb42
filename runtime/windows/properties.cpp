// The property services: lookup of window and control, the common
// properties of every control, and the hand-over of a worker thread's
// access to the window thread, which owns every window.
#include "runtime/windows/properties.h"

#include "runtime/windows/loaded_windows.h"
#include "runtime/windows/mouse_pointers.h"
#include "runtime/property_ids.h"
#include "runtime/process/runtime_error.h"
#include "runtime/process/window_thread.h"

namespace {

ControlInstance& FindTarget(uint32_t window_id, uint32_t control_id) {
  LoadedWindow* window = FindLoadedWindow(window_id);
  if (!window) ReportRuntimeError(control_id == 0 ? "指定窗口尚未载入" : "未载入欲访问窗口组件所在的窗口", 0);
  ControlInstance* control = window->FindControl(control_id);
  if (!control || !control->type) ReportRuntimeError("未找到欲访问的窗口组件", 0);
  return *control;
}

[[noreturn]] void NoSuchProperty() { ReportRuntimeError("欲访问的窗口组件属性不存在", 0); }

bool ReadCommon(const ControlInstance& control, int32_t property, Value* value) {
  const HWND handle = control.handle;
  if (property == kPropertyTag) {
    *value = MakeInteger(control.tag);
    return true;
  }
  if (!handle) {  // windowless: visibility and state live in the record
    if (property == kPropertyVisible) *value = MakeLogical(control.visible);
    else if (property == kPropertyDisabled) *value = MakeLogical(control.disabled);
    else *value = MakeInteger(0);
    return property >= kPropertyTag;
  }
  const RECT rect = PlacementInParent(handle);
  switch (property) {
    case kPropertyLeft: *value = MakeInteger(rect.left); return true;
    case kPropertyTop: *value = MakeInteger(rect.top); return true;
    case kPropertyWidth: *value = MakeInteger(rect.right - rect.left); return true;
    case kPropertyHeight: *value = MakeInteger(rect.bottom - rect.top); return true;
    case kPropertyVisible: *value = MakeLogical((GetWindowLongA(handle, GWL_STYLE) & WS_VISIBLE) != 0); return true;
    case kPropertyDisabled: *value = MakeLogical(!IsWindowEnabled(handle)); return true;
    case kPropertyMousePointer: *value = MakeInteger(control.mouse_pointer); return true;
    default: return false;
  }
}

bool WriteCommon(ControlInstance& control, int32_t property, uint32_t word0) {
  const auto number = static_cast<int32_t>(word0);
  if (property == kPropertyTag) {
    control.tag = number;
    return true;
  }
  const HWND handle = control.handle;
  if (!handle) {
    if (property == kPropertyVisible) control.visible = word0 != 0;
    if (property == kPropertyDisabled) control.disabled = word0 != 0;
    return property >= kPropertyTag;  // a windowless control has no place
  }
  RECT rect = PlacementInParent(handle);
  constexpr UINT kQuiet = SWP_NOZORDER | SWP_NOACTIVATE;
  switch (property) {
    case kPropertyLeft:
      SetWindowPos(handle, nullptr, number, rect.top, 0, 0, kQuiet | SWP_NOSIZE);
      return true;
    case kPropertyTop:
      SetWindowPos(handle, nullptr, rect.left, number, 0, 0, kQuiet | SWP_NOSIZE);
      return true;
    case kPropertyWidth:
      SetWindowPos(handle, nullptr, 0, 0, number, rect.bottom - rect.top, kQuiet | SWP_NOMOVE);
      return true;
    case kPropertyHeight:
      SetWindowPos(handle, nullptr, 0, 0, rect.right - rect.left, number, kQuiet | SWP_NOMOVE);
      return true;
    case kPropertyVisible:
      ShowWindow(handle, word0 ? SW_SHOW : SW_HIDE);
      return true;
    case kPropertyDisabled:
      EnableWindow(handle, word0 ? FALSE : TRUE);
      return true;
    case kPropertyMousePointer:  // shown from the next mouse move on
      control.mouse_pointer = ClampedMousePointer(number);
      return true;
    default:
      return false;
  }
}

struct PropertyRequest {
  uint32_t window_id;
  uint32_t control_id;
  int32_t property;
  uint32_t word0;
  uint32_t word1;
  Value result;
};

void ReadOnWindowThread(void* context) {
  auto* request = static_cast<PropertyRequest*>(context);
  ControlInstance& control = FindTarget(request->window_id, request->control_id);
  const bool known = request->property < 0 ? ReadCommon(control, request->property, &request->result)
                                           : control.type->read(control, request->property, &request->result);
  if (!known) NoSuchProperty();
}

void WriteOnWindowThread(void* context) {
  auto* request = static_cast<PropertyRequest*>(context);
  ControlInstance& control = FindTarget(request->window_id, request->control_id);
  const bool known = request->property < 0
                         ? WriteCommon(control, request->property, request->word0)
                         : control.type->write(control, request->property, request->word0, request->word1);
  if (!known) NoSuchProperty();
  // A control's own property may be its font, made for the template's density.
  LoadedWindow* window = FindLoadedWindow(request->window_id);
  if (window && request->property >= 0 && request->control_id != 0 && control.handle)
    RefitControlFont(*window, control.handle);
}

void FindHandleOnWindowThread(void* context) {
  auto* request = static_cast<PropertyRequest*>(context);
  LoadedWindow* window = FindLoadedWindow(request->window_id);
  const ControlInstance* control = window ? window->FindControl(request->control_id) : nullptr;
  // Window handles carry 32 significant bits in 64-bit Windows too (they are
  // shared with 32-bit processes), so the integer result holds them whole.
  request->result.word0 = control ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(control->handle)) : 0;
}

}  // namespace

RECT PlacementInParent(HWND handle) {
  RECT rect;
  GetWindowRect(handle, &rect);
  const HWND parent = (GetWindowLongA(handle, GWL_STYLE) & WS_CHILD) ? GetParent(handle) : nullptr;
  if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Value ReadProperty(uint32_t window_id, uint32_t control_id, int32_t property, int32_t /*selector*/) {
  PropertyRequest request{window_id, control_id, property, 0, 0, Value{0, 0, 0}};
  RunOnWindowThread(ReadOnWindowThread, &request);
  return request.result;
}

void WriteProperty(uint32_t window_id, uint32_t control_id, int32_t property, int32_t /*selector*/,
                   uint32_t word0, uint32_t word1) {
  PropertyRequest request{window_id, control_id, property, word0, word1, Value{0, 0, 0}};
  RunOnWindowThread(WriteOnWindowThread, &request);
}

uintptr_t ControlWindowHandle(uint32_t window_id, uint32_t control_id) {
  PropertyRequest request{window_id, control_id, 0, 0, 0, Value{0, 0, 0}};
  RunOnWindowThread(FindHandleOnWindowThread, &request);
  return request.result.word0;
}
