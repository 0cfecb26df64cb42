// Event dispatch: the binding the window table finds, the runtime errors of
// a failed lookup, and the call with the arguments as integer value records.
#include "runtime/windows/dispatch.h"

#include <vector>

#include "runtime/process/runtime_error.h"

namespace {

EventDirectory* g_directory = nullptr;

}  // namespace

void SetEventDirectory(EventDirectory* directory) { g_directory = directory; }

int32_t RaiseEvent(uint32_t window_id, uint32_t control_id, int32_t event, int32_t count,
                   const int32_t* args, int32_t unbound_result) {
  const EventRoute route = g_directory ? g_directory->Find(window_id, control_id, event) : EventRoute{};
  switch (route.target) {
    case EventTarget::kNoWindow:
      ReportRuntimeError("未找到引发事件的窗口", 0);
    // While a window is being loaded its controls are not all listed yet;
    // what they raise meanwhile (focus, initial notifications) is dropped.
    case EventTarget::kWindowLoading:
      return unbound_result;
    case EventTarget::kNoControl:
      ReportRuntimeError("未找到引发事件的窗口组件", 0);
    case EventTarget::kDeadControl:
      ReportRuntimeError("引发事件的窗口组件无效", 0);
    case EventTarget::kBound:
      break;
  }

  if (!route.handler) return unbound_result;
  std::vector<Value> records;
  records.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t i = 0; i < count; ++i) records.push_back(MakeInteger(args[i]));
  return route.handler(count, records.data());
}

int32_t RaiseEvent(uint32_t window_id, uint32_t control_id, int32_t event,
                   std::initializer_list<int32_t> args, int32_t unbound_result) {
  return RaiseEvent(window_id, control_id, event, static_cast<int32_t>(args.size()), args.begin(),
                    unbound_result);
}

int32_t RaiseControlEvent(HWND control, int32_t event, std::initializer_list<int32_t> args,
                          int32_t unbound_result) {
  // Controls inside other controls: the window is the nearest loaded ancestor.
  uint32_t window_id = 0;
  bool found = false;
  for (HWND parent = GetParent(control); parent && !found; parent = GetParent(parent)) {
    found = g_directory && g_directory->WindowIdOf(parent, &window_id);
  }
  if (!found) ReportRuntimeError("未找到引发事件的窗口", 0);
  return RaiseEvent(window_id, static_cast<uint32_t>(GetDlgCtrlID(control)), event, args, unbound_result);
}
