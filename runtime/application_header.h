// The application header: the fixed record through which the program tells
// the runtime where its parts are. Start-up (InitialiseRuntime) reads it
// once; the record and everything it points to live as long as the program.
// On the 32-bit target every field is one 32-bit word, in this order.
//
// Part of the runtime's public surface (runtime/README.md).
#pragma once

#include <cstdint>

// What a program fills the header with: its constant data block and the
// template data linked into it, with the code base their offsets use.
#include "runtime/values/constant_data.h"
#include "runtime/windows/templates/template_data.h"

// The runtime's callback, handed to each support library at start-up.
// Requests (arg1, arg2 as listed; unknown requests answer 0):
//   kRuntimeRequestOwnerWindow   the hidden owner window's handle
//   kRuntimeRequestWindowThread  the window thread's identifier
//   kRuntimeRequestRegisterType  registers arg1 (a const ControlType*, see
//                                runtime/control_types.h); 1 done, 0 refused
using RuntimeCallback = uintptr_t (*)(int32_t request, uintptr_t arg1, uintptr_t arg2);

enum RuntimeRequest : int32_t {
  kRuntimeRequestOwnerWindow = 1,
  kRuntimeRequestWindowThread = 2,
  kRuntimeRequestRegisterType = 3,
};

// A support library's notification entry point.
//   code 1 (start-up): arg1 the runtime callback, arg2 0; the result is the
//          word the runtime keeps for the library.
//   code 6 (exit):     arg1 that word, arg2 0; the result is ignored.
using LibraryNotification = uintptr_t (*)(int32_t code, uintptr_t arg1, uintptr_t arg2);

constexpr int32_t kLibraryNotifyStart = 1;
constexpr int32_t kLibraryNotifyExit = 6;

struct LibraryEntry {
  const char* name;                  // for people reading a dump; not used
  LibraryNotification notification;  // null: the library wants no notification
};

struct ApplicationHeader {
  // Address that bound handler offsets in the window templates are relative
  // to: the image base (__ImageBase), since the template compiler writes the
  // offsets as image-relative addresses.
  uintptr_t code_base;
  // The constant data block (constant texts, byte sets and arrays), never
  // freed or resized in place by the memory services.
  const void* constant_data_start;
  uint32_t constant_data_size;
  // The window template data (runtime/windows/templates/window_template.h).
  const void* template_data_start;
  uint32_t template_data_size;
  // The support libraries linked into the program.
  int32_t library_count;
  const LibraryEntry* libraries;
  // The external DLL commands: one library file name and one entry name
  // each ("#12" names ordinal 12), resolved at their first call.
  int32_t dll_command_count;
  const char* const* dll_file_names;
  const char* const* dll_entry_names;
};

#if defined(_WIN32) && !defined(_WIN64)
// The 32-bit layout: ten words. A 64-bit build keeps the same order with
// pointer-sized fields; nothing reads the record as raw words.
static_assert(sizeof(ApplicationHeader) == 10 * sizeof(uint32_t), "one 32-bit word a field");
#endif
