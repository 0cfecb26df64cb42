// The border styles of the library's controls (the report list and the
// hyperlink share one table) and their window styles. A number outside the
// table draws no border.
#pragma once

#include <windows.h>

#include <cstdint>

enum BorderStyle : uint32_t {
  kNoBorder = 0,
  kSunkenBorder = 1,         // WS_EX_CLIENTEDGE
  kRaisedBorder = 2,         // WS_EX_DLGMODALFRAME
  kShallowSunkenBorder = 3,  // WS_EX_STATICEDGE
  kFrameBorder = 4,          // WS_EX_CLIENTEDGE and WS_EX_DLGMODALFRAME
  kSingleLineBorder = 5,     // WS_BORDER
  kLastBorder = kSingleLineBorder,
};

// A border number brought into the table: below 0 none, above it the last.
uint32_t ClampedBorder(int32_t value);

// The extended window style and the window style of a border.
DWORD BorderExtendedStyle(uint32_t border);
DWORD BorderWindowStyle(uint32_t border);

// Replaces the border of a window already made and has its frame redrawn.
void ApplyBorderStyle(HWND window, uint32_t border);
