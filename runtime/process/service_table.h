// The service table: the thirteen runtime services the application's code
// reaches, in slot order. The application never calls the runtime another
// way; runtime/service_calls.h wraps the slots for readable call sites.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// Routine numbers of slot 12.
enum RuntimeRoutine : int32_t {
  kRoutineFindFile = 0,          // (pattern, mask, files-only flag, uintptr_t* handle) -> new text
  kRoutineCloseSearch = 1,       // (handle)
  kRoutineMakeArrayWritable = 2, // (void** array, element width)
  kRoutineRegisterCleanup = 3,   // (CleanupRoutine)
  kRoutineInitialise = 6,        // (const ApplicationHeader*)
};

struct RuntimeServices {
  void (*report_error_code)(int32_t code);                                  // 0, no return
  void* (*dll_command_address)(int32_t index);                              // 1
  Value (*call_library_command)(Command command, int32_t count, const Value* args);  // 2
  Value (*call_core_command)(Command command, int32_t count, const Value* args);     // 3
  Value (*read_property)(uint32_t window_id, uint32_t control_id, int32_t property,
                         int32_t selector);                                 // 4
  void (*write_property)(uint32_t window_id, uint32_t control_id, int32_t property,
                         int32_t selector, uint32_t word0, uint32_t word1); // 5
  void* (*allocate)(uint32_t bytes);                                        // 6
  void* (*reallocate)(void* pointer, uint32_t bytes);                       // 7
  void (*free)(void* pointer);                                              // 8
  void (*exit)(int32_t code);                                               // 9, no return
  void (*run_message_loop)();                                               // 10
  void (*load_start_window)(uint32_t window_id);                            // 11
  // 12: the routine's arguments in order, unused words 0. Routines 4 and 5
  // are internal and not offered: calling them, or any unknown number, is a
  // fatal runtime error.
  uintptr_t (*run_routine)(int32_t routine, uintptr_t arg0, uintptr_t arg1, uintptr_t arg2,
                           uintptr_t arg3);
};

static_assert(sizeof(RuntimeServices) == 13 * sizeof(void*), "thirteen slots, no padding");

// The table the runtime fills; the same object for the whole process.
const RuntimeServices& Services();
