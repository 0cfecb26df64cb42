// The steps of the exit that start-up's records own (startup.cpp), called
// by the exit in program_exit.cpp in their order.
#pragma once

void RunCleanupRoutines();     // registration order, each with its index; clears the list
void NotifyLibrariesOfExit();  // code 6 with each library's word
void UninitialiseOle();        // once, when start-up initialised OLE
