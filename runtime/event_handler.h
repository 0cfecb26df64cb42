// The shape of the application's event handlers, as the window templates bind
// them to controls and the runtime's event dispatch calls them.
//
// A handler is an `extern "C"` function of the application:
//
//   extern "C" int32_t OnStartClicked(int32_t count, const Value* args);
//
// `args` holds `count` integer value records, the event's arguments in order
// (a window's "size changed" passes the new width and height, most events
// pass none). The records are lent for the call. The result is the handler's
// logical answer (0 false, anything else true); it matters only for events
// that ask for one, such as a report list's label edit, and is ignored by the
// others.
//
// Part of the runtime's public surface (runtime/README.md).
#pragma once

#include <cstdint>

#include "runtime/value.h"

using EventHandler = int32_t (*)(int32_t count, const Value* args);
