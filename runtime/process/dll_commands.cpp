// External DLL commands, resolved on first call and cached.
//
// Where a library file name has no drive colon, it is looked for in the
// program directory, then the system folder, then the Windows folder, and
// only then handed bare to LoadLibraryA (which applies its own search). An
// empty file name tries a fixed list of system libraries.
#include "runtime/process/dll_commands.h"

#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/process/runtime_error.h"
#include "runtime/process/runtime_state.h"

namespace {

struct DllCommand {
  std::string file_name;
  std::string entry_name;
  HMODULE module = nullptr;  // one LoadLibrary reference, released at exit
  void* address = nullptr;
};

const char* const kSystemLibraries[] = {
    "Kernel32.dll", "User32.dll", "Gdi32.dll", "Comdlg32.dll", "Comctl32.dll", "Advapi32.dll", "Shell32.dll",
};

std::mutex g_table_mutex;  // commands may be first called from worker threads
std::vector<DllCommand> g_commands;

// "#12" names ordinal 12: the decimal digits after "#", lower 16 bits.
LPCSTR ProcedureName(const std::string& entry) {
  if (entry.empty() || entry[0] != '#') return entry.c_str();
  uint32_t number = 0;
  for (size_t i = 1; i < entry.size() && entry[i] >= '0' && entry[i] <= '9'; ++i) {
    number = number * 10 + static_cast<uint32_t>(entry[i] - '0');
  }
  return MAKEINTRESOURCEA(number & 0xFFFF);
}

std::string FolderOf(UINT (WINAPI* query)(LPSTR, UINT)) {
  char folder[MAX_PATH];
  const UINT length = query(folder, sizeof folder);
  return length > 0 && length < sizeof folder ? std::string(folder, length) : std::string();
}

HMODULE LoadFromSearchFolders(const std::string& file_name) {
  if (file_name.find(':') == std::string::npos) {
    const char* program_folder = ProgramDirectory();
    const std::string folders[] = {program_folder ? program_folder : "", FolderOf(GetSystemDirectoryA),
                                   FolderOf(GetWindowsDirectoryA)};
    for (const std::string& folder : folders) {
      if (folder.empty()) continue;
      const std::string path = folder + (folder.back() == '\\' ? "" : "\\") + file_name;
      if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
      if (HMODULE module = LoadLibraryA(path.c_str())) return module;
    }
  }
  return LoadLibraryA(file_name.c_str());
}

[[noreturn]] void ReportMissing(const DllCommand& command, bool library_loaded) {
  char message[600];
  if (library_loaded) {
    std::snprintf(message, sizeof message, "无法找到指定DLL库文件中的输出命令“%s”", command.entry_name.c_str());
  } else {
    std::snprintf(message, sizeof message, "无法找到指定DLL库文件“%s”中的输出命令“%s”",
                  command.file_name.c_str(), command.entry_name.c_str());
  }
  ReportRuntimeError(message, 0);
}

// Fills module and address, or returns whether the library could be loaded.
bool Resolve(DllCommand& command, bool* library_loaded) {
  const LPCSTR procedure = ProcedureName(command.entry_name);
  if (command.file_name.empty()) {
    *library_loaded = true;
    for (const char* library : kSystemLibraries) {
      HMODULE module = LoadLibraryA(library);
      if (!module) continue;
      if (FARPROC address = GetProcAddress(module, procedure)) {
        command.module = module;
        command.address = reinterpret_cast<void*>(address);
        return true;
      }
      FreeLibrary(module);
    }
    return false;
  }
  HMODULE module = LoadFromSearchFolders(command.file_name);
  *library_loaded = module != nullptr;
  if (!module) return false;
  FARPROC address = GetProcAddress(module, procedure);
  if (!address) {
    FreeLibrary(module);
    return false;
  }
  command.module = module;
  command.address = reinterpret_cast<void*>(address);
  return true;
}

}  // namespace

void LoadDllCommandTable(int32_t count, const char* const* file_names, const char* const* entry_names) {
  std::lock_guard<std::mutex> lock(g_table_mutex);
  g_commands.clear();
  for (int32_t i = 0; i < count; ++i) {
    DllCommand command;
    command.file_name = file_names[i] ? file_names[i] : "";
    command.entry_name = entry_names[i] ? entry_names[i] : "";
    g_commands.push_back(std::move(command));
  }
}

void* ResolveDllCommand(int32_t index) {
  std::unique_lock<std::mutex> lock(g_table_mutex);
  if (index < 0 || static_cast<size_t>(index) >= g_commands.size()) {
    lock.unlock();
    char message[64];
    std::snprintf(message, sizeof message, "DLL命令 %d 未定义", static_cast<int>(index));
    ReportRuntimeError(message, 0);
  }
  DllCommand& command = g_commands[static_cast<size_t>(index)];
  if (command.address) return command.address;
  bool library_loaded = false;
  if (Resolve(command, &library_loaded)) return command.address;
  const DllCommand failed = command;
  lock.unlock();  // the report exits, and exit frees the table
  ReportMissing(failed, library_loaded);
}

void FreeDllCommandModules() {
  std::lock_guard<std::mutex> lock(g_table_mutex);
  for (DllCommand& command : g_commands) {
    if (command.module) FreeLibrary(command.module);
  }
  g_commands.clear();
}
