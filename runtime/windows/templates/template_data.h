// The template data that tulvex_add_window_templates (cmake/templates.cmake)
// links into a program, and the code base its handler offsets are relative
// to, for filling the application header.
#pragma once

#include <windows.h>

#include <cstdint>

extern "C" const uint8_t TulvexTemplateData[];
extern "C" const uint32_t TulvexTemplateDataSize;

// The linker's symbol for the start of the program's image: the template
// compiler writes handler offsets image-relative (.rva).
extern "C" IMAGE_DOS_HEADER __ImageBase;

inline uintptr_t ProgramCodeBase() { return reinterpret_cast<uintptr_t>(&__ImageBase); }
