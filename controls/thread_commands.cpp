// StartThread: one CreateThread call and what becomes of its handle.
#include "controls/thread_commands.h"

#include <windows.h>

#include "controls/command_arguments.h"

using controls::IntegerArgument;
using controls::IsGiven;

void StartThread(Value* result, int32_t count, const Value* args) {
  const auto routine =
      reinterpret_cast<LPTHREAD_START_ROUTINE>(PointerOf(controls::ArgumentOfType(count, args, 0, kTagSubProgram)));
  if (!routine) ReportRuntimeErrorCode(controls::kWrongArgumentTypeError);
  // The parameter is an integer, widened to the routine's pointer argument.
  const int32_t parameter = IntegerArgument(count, args, 1, 0);
  void* const argument = reinterpret_cast<void*>(static_cast<intptr_t>(parameter));

  const HANDLE thread = CreateThread(nullptr, 0, routine, argument, 0, nullptr);
  *result = MakeLogical(thread != nullptr);
  if (thread == nullptr) return;
  auto* variable = IsGiven(count, args, 2) ? static_cast<int32_t*>(PointerOf(args[2])) : nullptr;
  if (variable) {
    // The variable is a 32-bit integer in both builds. Kernel handles carry
    // 32 significant bits on 64-bit Windows too (they are shared with 32-bit
    // processes), so the low half is the whole handle and sign-extending it
    // (LongToHandle) gives it back. The caller owns it now.
    *variable = HandleToLong(thread);
  } else {
    CloseHandle(thread);
  }
}
