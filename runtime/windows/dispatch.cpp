// Event dispatch: lookup of window, control and bound handler, and the call
// with the arguments as integer value records.
#include "runtime/windows/dispatch.h"

#include <vector>

#include "runtime/windows/loaded_windows.h"
#include "runtime/process/runtime_error.h"

int32_t RaiseEvent(uint32_t window_id, uint32_t control_id, int32_t event, int32_t count,
                   const int32_t* args, int32_t unbound_result) {
  LoadedWindow* window = FindLoadedWindow(window_id);
  if (!window) ReportRuntimeError("未找到引发事件的窗口", 0);
  // While a window is being loaded its controls are not all listed yet;
  // what they raise meanwhile (focus, initial notifications) is dropped.
  if (!window->loaded) return unbound_result;
  const ControlInstance* control = window->FindControl(control_id);
  if (!control) ReportRuntimeError("未找到引发事件的窗口组件", 0);
  // A windowed control whose window was destroyed can no longer raise.
  if (!control->type || (!control->type->windowless && !IsWindow(control->handle))) {
    ReportRuntimeError("引发事件的窗口组件无效", 0);
  }

  const EventHandler handler = window->source->FindHandler(control_id, event);
  if (!handler) return unbound_result;
  std::vector<Value> records;
  records.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t i = 0; i < count; ++i) records.push_back(MakeInteger(args[i]));
  return handler(count, records.data());
}

int32_t RaiseEvent(uint32_t window_id, uint32_t control_id, int32_t event,
                   std::initializer_list<int32_t> args, int32_t unbound_result) {
  return RaiseEvent(window_id, control_id, event, static_cast<int32_t>(args.size()), args.begin(),
                    unbound_result);
}

int32_t RaiseControlEvent(HWND control, int32_t event, std::initializer_list<int32_t> args,
                          int32_t unbound_result) {
  // Controls inside other controls: the window is the nearest loaded ancestor.
  const LoadedWindow* window = nullptr;
  for (HWND parent = GetParent(control); parent && !window; parent = GetParent(parent)) {
    window = FindLoadedWindowByHandle(parent);
  }
  if (!window) ReportRuntimeError("未找到引发事件的窗口", 0);
  return RaiseEvent(window->id, static_cast<uint32_t>(GetDlgCtrlID(control)), event, args,
                    unbound_result);
}
