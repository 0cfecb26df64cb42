// Colour values of property records: a 32-bit RGB value (0x00BBGGRR), the
// runtime's default-background code, or a system-colour code.
#pragma once

#include <windows.h>

#include <cstdint>

// The default background of the runtime's windows (the dialog face).
constexpr uint32_t kDefaultBackgroundColour = 0xFF000000;
// 0x80000000 + n stands for system colour n (GetSysColor).
constexpr uint32_t kSystemColourFlag = 0x80000000;

// The real colour a stored colour value stands for. The default-background
// code stands for `default_colour`: the dialog face unless a control names
// its own default (the parent's background, a system text colour).
COLORREF ResolveColour(uint32_t value, COLORREF default_colour = GetSysColor(COLOR_BTNFACE));
