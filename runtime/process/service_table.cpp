// The runtime's service table and the slots that are more than a forward to
// one runtime function: the command-call frame and the routine dispatcher.
#include "runtime/process/service_table.h"

#include <cstdio>

#include "runtime/values/arrays.h"
#include "runtime/process/dll_commands.h"
#include "runtime/process/file_search.h"
#include "runtime/values/memory.h"
#include "runtime/windows/properties.h"
#include "runtime/process/runtime_error.h"
#include "runtime/process/runtime_state.h"

namespace {

// Slots 2 and 3: reserve a zeroed result record, call (result, count, args).
Value CallThroughFrame(Command command, int32_t count, const Value* args) {
  return CallCommand(command, count, args);
}

[[noreturn]] void ReportUnknownRoutine(int32_t routine) {
  char message[64];
  std::snprintf(message, sizeof message, "运行时例程 %d 不存在", static_cast<int>(routine));
  ReportRuntimeError(message, 0);
}

uintptr_t RunRoutine(int32_t routine, uintptr_t arg0, uintptr_t arg1, uintptr_t arg2, uintptr_t arg3) {
  switch (routine) {
    case kRoutineFindFile:
      return reinterpret_cast<uintptr_t>(FindFile(reinterpret_cast<const char*>(arg0),
                                                  static_cast<uint32_t>(arg1), arg2 != 0,
                                                  reinterpret_cast<uintptr_t*>(arg3)));
    case kRoutineCloseSearch:
      CloseFileSearch(arg0);
      return 0;
    case kRoutineMakeArrayWritable:
      MakeArrayWritable(reinterpret_cast<void**>(arg0), static_cast<uint32_t>(arg1));
      return 0;
    case kRoutineRegisterCleanup:
      RegisterCleanupRoutine(reinterpret_cast<CleanupRoutine>(arg0));
      return 0;
    case kRoutineInitialise:
      InitialiseRuntime(*reinterpret_cast<const ApplicationHeader*>(arg0));
      return 0;
    default:
      ReportUnknownRoutine(routine);
  }
}

const RuntimeServices kServices = {
    ReportRuntimeErrorCode, ResolveDllCommand, CallThroughFrame, CallThroughFrame,
    ReadProperty,           WriteProperty,     AllocateMemory,   ReallocateMemory,
    FreeMemory,             ExitProgram,       RunMessageLoop,   LoadStartWindow,
    RunRoutine,
};

}  // namespace

const RuntimeServices& Services() { return kServices; }
