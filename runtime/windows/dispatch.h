// Event dispatch: a control raises one of its events by number with a few
// integer arguments; the runtime finds the handler that the window template
// binds to that control and event and calls it (runtime/event_handler.h).
// Events are raised on the window thread, from the controls' messages.
//
// Dispatch sits below the window table: the table (loaded_windows.cpp)
// registers itself as the EventDirectory that answers where an event goes,
// so that the table may raise events without dispatch calling back up.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "runtime/event_handler.h"

// Events every control has.
constexpr int32_t kGainedFocusEvent = -7;
constexpr int32_t kLostFocusEvent = -8;

// Where a raised event goes, as the window table finds it.
enum class EventTarget {
  kBound,          // a handler (or none) is bound; the control is sound
  kNoWindow,       // no loaded window has the identifier
  kWindowLoading,  // the window's controls are still being made
  kNoControl,      // the window has no such control
  kDeadControl,    // the control's window is gone
};
struct EventRoute {
  EventTarget target = EventTarget::kNoWindow;
  EventHandler handler = nullptr;  // null: no handler bound to the event
};

class EventDirectory {
 public:
  virtual EventRoute Find(uint32_t window_id, uint32_t control_id, int32_t event) = 0;
  // The loaded window that `window` is; false when it is none.
  virtual bool WindowIdOf(HWND window, uint32_t* window_id) = 0;

 protected:
  ~EventDirectory() = default;
};

// Until a directory is registered every window is unknown.
void SetEventDirectory(EventDirectory* directory);

// Returns the handler's result, or `unbound_result` when no handler is bound
// (or the window is still being loaded). An unknown window or control, or a
// control whose window is gone, is a fatal runtime error.
int32_t RaiseEvent(uint32_t window_id, uint32_t control_id, int32_t event,
                   std::initializer_list<int32_t> args = {}, int32_t unbound_result = 0);
int32_t RaiseEvent(uint32_t window_id, uint32_t control_id, int32_t event, int32_t count,
                   const int32_t* args, int32_t unbound_result);

// For controls that know only their own window: the window is the parent
// and the control identifier the child identifier.
int32_t RaiseControlEvent(HWND control, int32_t event, std::initializer_list<int32_t> args = {},
                          int32_t unbound_result = 0);
