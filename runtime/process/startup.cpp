// Start-up of the runtime (routine 6), the clean-up routine list
// (routine 3) and what start-up records about the program.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "runtime/application_header.h"
#include "runtime/control_types.h"
#include "runtime/process/dll_commands.h"
#include "runtime/windows/loaded_windows.h"
#include "runtime/values/memory.h"
#include "runtime/process/runtime_error.h"
#include "runtime/process/runtime_shutdown.h"
#include "runtime/process/runtime_state.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/templates/template_reader.h"
#include "runtime/process/window_thread.h"

namespace {

constexpr DWORD kModulePathSize = 260;

int32_t g_run_mode = 0;
bool g_ole_initialised = false;
std::string g_program_directory;
std::string g_program_file_name;
std::vector<CleanupRoutine> g_cleanup_routines;
std::vector<LibraryNotification> g_library_notifications;
std::vector<uintptr_t> g_library_words;

// How a runtime error ends the process (runtime_error.h): in the debug run
// mode the debugger first; then the exit with -1, without the application's
// clean-up routines, as the error may have left their data half made.
void EndAfterRuntimeError() {
  if (g_run_mode == kDebugRunMode) DebugBreak();
  ClearCleanupRoutines();
  ExitProgram(-1);
}

uintptr_t RuntimeCallbackRoutine(int32_t request, uintptr_t arg1, uintptr_t) {
  switch (request) {
    case kRuntimeRequestOwnerWindow:
      return reinterpret_cast<uintptr_t>(HiddenOwnerWindow());
    case kRuntimeRequestWindowThread:
      return WindowThreadId();
    case kRuntimeRequestRegisterType:
      return RegisterControlType(reinterpret_cast<const ControlType*>(arg1)) ? 1 : 0;
    default:
      return 0;
  }
}

// The program's folder and file name, and the folder as the
// working directory. A folder that is a bare drive ("C:") is entered as its
// root: "C:" alone would mean the drive's current directory. A name that
// filled the whole buffer was cut short and names no real folder, so the
// working directory is then left as it is.
void RecordProgramPath() {
  char path[kModulePathSize] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, kModulePathSize);
  const std::string full(path, length < kModulePathSize ? length : 0);
  const size_t slash = full.rfind('\\');
  if (slash == std::string::npos) {
    g_program_directory.clear();
    g_program_file_name = full;
    return;
  }
  g_program_directory = full.substr(0, slash);
  g_program_file_name = full.substr(slash + 1);
  std::string folder = g_program_directory;
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());
}

// The DLL command table (nothing loaded yet) and the support libraries'
// start notifications.
void StartLibraries(const ApplicationHeader& header) {
  LoadDllCommandTable(header.dll_command_count, header.dll_file_names, header.dll_entry_names);
  g_library_notifications.clear();
  g_library_words.clear();
  for (int32_t i = 0; i < header.library_count; ++i) {
    const LibraryNotification notification = header.libraries[i].notification;
    g_library_notifications.push_back(notification);
    g_library_words.push_back(0);
  }
  for (size_t i = 0; i < g_library_notifications.size(); ++i) {
    if (!g_library_notifications[i]) continue;
    g_library_words[i] = g_library_notifications[i](
        kLibraryNotifyStart, reinterpret_cast<uintptr_t>(&RuntimeCallbackRoutine), 0);
  }
}

}  // namespace

void InitialiseRuntime(const ApplicationHeader& header) {
  SetRuntimeErrorExit(EndAfterRuntimeError);
  InitialiseMemory(header.constant_data_start, header.constant_data_size);
  g_run_mode = kReleasedRunMode;
  if (!g_ole_initialised) g_ole_initialised = SUCCEEDED(OleInitialize(nullptr));
  RecordProgramPath();
  CreateHiddenOwnerWindow(ExitProgram);
  RegisterStandardControlTypes();
  StartLibraries(header);

  // The window templates; the reader relocates the handler offsets as it
  // reads them.
  std::vector<WindowTemplate> templates;
  if (!ReadWindowTemplates(header.template_data_start, header.template_data_size, header.code_base,
                           &templates)) {
    ReportRuntimeError("载入窗口模板数据段出错!", 0);
  }
  SetWindowTemplates(std::move(templates));
}

void RegisterCleanupRoutine(CleanupRoutine routine) {
  if (!routine) return;
  // A routine registered ahead of start-up must still be dropped by an error.
  SetRuntimeErrorExit(EndAfterRuntimeError);
  for (CleanupRoutine known : g_cleanup_routines) {
    if (known == routine) return;
  }
  g_cleanup_routines.push_back(routine);
}

void ClearCleanupRoutines() { g_cleanup_routines.clear(); }

void RunCleanupRoutines() {
  // A routine that reports an error clears the list; take it first.
  const std::vector<CleanupRoutine> routines = std::move(g_cleanup_routines);
  g_cleanup_routines.clear();
  for (size_t i = 0; i < routines.size(); ++i) routines[i](static_cast<int32_t>(i));
}

void NotifyLibrariesOfExit() {
  for (size_t i = 0; i < g_library_notifications.size(); ++i) {
    if (g_library_notifications[i]) g_library_notifications[i](kLibraryNotifyExit, g_library_words[i], 0);
  }
  g_library_notifications.clear();
  g_library_words.clear();
}

void UninitialiseOle() {
  if (g_ole_initialised) OleUninitialize();
  g_ole_initialised = false;
}

void LoadStartWindow(uint32_t window_id) {
  if (!LoadWindow(window_id)) ReportRuntimeError("载入启动窗口失败", 0);
}

int32_t RunMode() { return g_run_mode; }
const char* ProgramDirectory() { return g_program_directory.c_str(); }
const char* ProgramFileName() { return g_program_file_name.c_str(); }
