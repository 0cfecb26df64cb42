// Routines 0 and 1 of service slot 12: the file search the application
// drives one entry at a time, holding the search handle in a variable.
#pragma once

#include <cstdint>

// Attribute bits a mask can select: read-only, hidden, system, directory,
// archive.
constexpr uint32_t kSearchAttributeBits = 0x37;

// Whether an entry with `attributes` is accepted. With `files_only` every
// entry that is not a directory is; else one of the mask's bits must be set
// on the entry, and a mask without any of those bits accepts only entries
// that have none of them (plain files).
bool SearchAccepts(uint32_t attributes, uint32_t mask, bool files_only);

// Routine 0. A pattern that is neither null nor empty starts a new search
// (closing the one in `*handle`); a null or empty pattern continues the
// search in `*handle`. Returns the next accepted entry name as a new text,
// or null when there is none more, in which case the search is closed and
// `*handle` becomes 0.
char* FindFile(const char* pattern, uint32_t mask, bool files_only, uintptr_t* handle);

// Routine 1: closes a search handle; 0 is ignored.
void CloseFileSearch(uintptr_t handle);
