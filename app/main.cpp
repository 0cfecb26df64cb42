// The program's entry routine and its application header: where the
// runtime finds the window templates, the constant data, the support
// libraries and the DLL commands. The entry routine keeps the order every
// program on the runtime keeps: initialise, reset the floating-point unit,
// register the clean-up routine, run the module initialisers, load the
// start window, run the message loop.
#include <windows.h>

#include <cfloat>

#include "app/control_library_calls.h"
#include "app/dll_command_table.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "runtime/application_header.h"
#include "runtime/service_calls.h"

namespace tulvex {

const char* const kDllFileNames[kDllCommandCount] = {"comdlg32.dll", "shell32.dll", "shell32.dll", "user32.dll"};
const char* const kDllEntryNames[kDllCommandCount] = {"GetOpenFileNameA", "SHBrowseForFolderA",
                                                      "SHGetPathFromIDListA", "SendMessageA"};

namespace {

const LibraryEntry kLibraries[] = {
    {"control library", ControlLibraryNotification},
    {"image conversion", nullptr},
};

// Runs at exit on the window thread, before the process ends.
void FreeGlobalTexts(int32_t) { ReleaseGlobalTexts(); }

// The program's modules keep no state that needs setting up before the
// window: the settings are read when the window is created.
void RunModuleInitialisers() {}

}  // namespace
}  // namespace tulvex

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tulvex;
  const ApplicationHeader header = {
      ProgramCodeBase(),
      ConstantDataStart(),
      ConstantDataSize(),
      TulvexTemplateData,
      TulvexTemplateDataSize,
      static_cast<int32_t>(sizeof kLibraries / sizeof kLibraries[0]),
      kLibraries,
      kDllCommandCount,
      kDllFileNames,
      kDllEntryNames,
  };
  services::Initialise(header);
  _fpreset();
  services::RegisterCleanup(FreeGlobalTexts);
  RunModuleInitialisers();
  services::LoadStartWindow(kMainWindow);
  services::RunMessageLoop();
  return 0;
}
