// Core commands that ask the runtime: a control's window handle, the
// program directory (query 2003) and the run mode (query 2018).
#include "runtime/core_commands.h"
#include "runtime/core_commands/arguments.h"
#include "runtime/windows/properties.h"
#include "runtime/process/runtime_state.h"
#include "runtime/values/texts.h"

// The argument is a control reference: word0 the window, word1 the control.
void GetControlWindowHandle(Value* result, int32_t count, const Value* args) {
  const Value control = core::ArgumentAt(count, args, 0);
  *result = MakeInteger(static_cast<int32_t>(ControlWindowHandle(control.word0, control.word1)));
}

void GetProgramDirectory(Value* result, int32_t, const Value*) {
  *result = OwnTextValue(CopyText(ProgramDirectory()));
}

// 3 for a released program, 2 when runtime errors break into the debugger.
void GetRunMode(Value* result, int32_t, const Value*) { *result = MakeInteger(RunMode()); }

// Or of all arguments; none gives 0.
void BitwiseOr(Value* result, int32_t count, const Value* args) {
  uint32_t bits = 0;
  for (int32_t i = 0; i < count; ++i) bits |= static_cast<uint32_t>(ToInteger(args[i]));
  *result = MakeInteger(static_cast<int32_t>(bits));
}
