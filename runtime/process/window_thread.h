// The window thread and the hidden owner window: every window of the
// program lives on one thread, and work asked for on a worker thread is
// carried there by a message sent to the hidden owner window.
#pragma once

#include <windows.h>

#include <cstdint>

// Sent by a worker's exit with the exit code as wParam; the window thread
// performs the exit.
constexpr UINT kExitOnWindowThreadMessage = 0x83E7;
// Runs wParam (a WindowThreadTask) with lParam as its context.
constexpr UINT kRunTaskMessage = 0x83E8;

using WindowThreadTask = void (*)(void* context);

// Start-up: the hidden owner window, made on (and recording) the window
// thread; exit: its destruction. The window answers a worker's exit message
// with `exit` (start-up hands in its own), so that the window thread, which
// every layer reaches through this file, calls no exit code back itself.
using WindowThreadExit = void (*)(int32_t code);
bool CreateHiddenOwnerWindow(WindowThreadExit exit);
void DestroyHiddenOwnerWindow();

HWND HiddenOwnerWindow();  // null before start-up and after exit
DWORD WindowThreadId();

// True on the window thread, and before start-up recorded one.
bool IsWindowThread();

// Runs `task` on the window thread and returns when it is done: directly
// there, through SendMessage from any other thread.
void RunOnWindowThread(WindowThreadTask task, void* context);
