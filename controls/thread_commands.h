// StartThread: runs one of the application's sub-programs on a new thread,
// which is how long work leaves the user interface responsive. Nothing
// joins or watches the thread afterwards.
//
//   StartThread(sub-program, [parameter = 0], [handle variable]) -> logical
//
// The sub-program is a thread routine taking one pointer-sized argument
// (the parameter). The handle variable is passed by reference: its record's
// words hold the address of the caller's 32-bit integer variable. When that
// argument is given the thread's handle is stored there as a 32-bit integer
// (the whole handle in both builds; LongToHandle turns it back) and stays
// open (the caller closes it); otherwise the handle is closed at once.
#pragma once

#include <cstdint>

#include "runtime/value.h"

void StartThread(Value* result, int32_t count, const Value* args);
