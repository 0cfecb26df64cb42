// Colour values of property records: a 32-bit RGB value (0x00BBGGRR), the
// runtime's default-background code, or a system-colour code.
#pragma once

#include <windows.h>

#include <cstdint>

// The default background of the runtime's windows (the dialog face).
constexpr uint32_t kDefaultBackgroundColour = 0xFF000000;
// 0x80000000 + n stands for system colour n (GetSysColor).
constexpr uint32_t kSystemColourFlag = 0x80000000;

// The real colour a stored colour value stands for.
COLORREF ResolveColour(uint32_t value);
