// The exit (service slot 9): from a worker thread it is handed to the
// window thread; on the window thread the runtime is torn down in order and
// the process ends with the code.
#include <windows.h>

#include "runtime/process/dll_commands.h"
#include "runtime/windows/loaded_windows.h"
#include "runtime/windows/program_icons.h"
#include "runtime/process/message_loop.h"
#include "runtime/process/runtime_shutdown.h"
#include "runtime/process/runtime_state.h"
#include "runtime/process/window_thread.h"

namespace {

// Set once the teardown has begun: an exit asked for by a clean-up routine
// or a library (or by an error they report) only ends the process.
volatile LONG g_exiting = 0;

// The socket library is torn down only when something loaded it; the
// runtime itself never starts it.
void CleanUpSockets() {
  const HMODULE sockets = GetModuleHandleA("ws2_32.dll");
  if (!sockets) return;
  using Cleanup = int(WINAPI*)();
  const auto cleanup = reinterpret_cast<Cleanup>(reinterpret_cast<void*>(GetProcAddress(sockets, "WSACleanup")));
  if (cleanup) cleanup();
}

[[noreturn]] void TearDownAndExit(int32_t code) {
  DropIdleCallbacks();
  CloseAllWindows();
  RunCleanupRoutines();
  NotifyLibrariesOfExit();
  FreeDllCommandModules();
  // The runtime loads no further modules.
  DestroyProgramIcons();
  DestroyHiddenOwnerWindow();
  CleanUpSockets();
  UninitialiseOle();
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace

void ExitProgram(int32_t code) {
  const HWND owner = HiddenOwnerWindow();
  if (!IsWindowThread() && owner) {
    // The window thread performs the exit; should it not (its window is
    // already gone), this thread still ends the process with the code.
    SendMessageA(owner, kExitOnWindowThreadMessage, static_cast<WPARAM>(code), 0);
    ExitProcess(static_cast<UINT>(code));
  }
  if (InterlockedExchange(&g_exiting, 1) != 0) ExitProcess(static_cast<UINT>(code));
  TearDownAndExit(code);
}
