// Event dispatch: a control raises one of its events by number with a few
// integer arguments; the runtime finds the handler that the window template
// binds to that control and event and calls it (runtime/event_handler.h).
// Events are raised on the window thread, from the controls' messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

// Events every control has.
constexpr int32_t kGainedFocusEvent = -7;
constexpr int32_t kLostFocusEvent = -8;

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
