// The property services (slots 4 and 5): a control's property addressed by
// window identifier, control identifier and property number. Callable from
// the window thread and from worker threads; a worker's call takes effect
// before it returns.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/value.h"

// `selector` is the fourth argument of the services; the application always
// passes -1. A text result is a new heap block owned by the caller.
Value ReadProperty(uint32_t window_id, uint32_t control_id, int32_t property, int32_t selector);
void WriteProperty(uint32_t window_id, uint32_t control_id, int32_t property, int32_t selector,
                   uint32_t word0, uint32_t word1);

// The window handle of a control (0 when the window or control is unknown).
// A control id of 0 names the window itself.
uintptr_t ControlWindowHandle(uint32_t window_id, uint32_t control_id);

// A control's rectangle in its parent's client coordinates, a top-level
// window's on the screen.
RECT PlacementInParent(HWND handle);
