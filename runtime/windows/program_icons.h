// The program's own icon on its windows' title bars and task-bar buttons:
// the first icon among the program's resources (the one the shell shows for
// the program file), at the large and the small icon size. Made on first
// use, destroyed at exit.
#pragma once

#include <windows.h>

// Null when the program has no icon.
HICON ProgramIcon(bool small);

// Exit: the windows are closed by then.
void DestroyProgramIcons();
