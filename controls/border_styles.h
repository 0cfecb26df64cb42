// The border styles of the library's controls (the report list and the
// hyperlink share one table): 0 none, 1 sunken, 2 raised, 3 shallow sunken,
// 4 frame, 5 single line. Any other number draws no border.
#pragma once

#include <windows.h>

#include <cstdint>

// The extended window style of a border: 1 WS_EX_CLIENTEDGE,
// 2 WS_EX_DLGMODALFRAME, 3 WS_EX_STATICEDGE, 4 WS_EX_CLIENTEDGE and
// WS_EX_DLGMODALFRAME; 0 for the others.
DWORD BorderExtendedStyle(uint32_t border);
// The window style of a border: WS_BORDER for 5, else 0.
DWORD BorderWindowStyle(uint32_t border);

// Replaces the border of a window already made and has its frame redrawn.
void ApplyBorderStyle(HWND window, uint32_t border);
