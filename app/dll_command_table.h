// The external DLL commands the program declares, in the order of the
// application header's tables (main.cpp), resolved by the runtime at their
// first call.
#pragma once

#include <cstdint>

namespace tulvex {

enum DllCommandIndex : int32_t {
  kDllGetOpenFileName = 0,   // comdlg32.dll GetOpenFileNameA
  kDllBrowseForFolder = 1,   // shell32.dll SHBrowseForFolderA
  kDllPathFromIdList = 2,    // shell32.dll SHGetPathFromIDListA
  kDllSendMessage = 3,       // user32.dll SendMessageA
};

inline constexpr int32_t kDllCommandCount = 4;
extern const char* const kDllFileNames[kDllCommandCount];
extern const char* const kDllEntryNames[kDllCommandCount];

}  // namespace tulvex
