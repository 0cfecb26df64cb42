// The table of external DLL commands the application declares, resolved
// lazily at first call (service slot 1).
#pragma once

#include <cstdint>

// Fills the table from the application header; nothing is loaded yet.
void LoadDllCommandTable(int32_t count, const char* const* file_names, const char* const* entry_names);

// Service slot 1: the address of DLL command `index`, resolved and cached on
// first use. A library or entry that cannot be found is a fatal runtime error.
void* ResolveDllCommand(int32_t index);

// At exit: FreeLibrary every module loaded for DLL commands, clear the table.
void FreeDllCommandModules();
