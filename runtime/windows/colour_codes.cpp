// Colour values of property records become real colours.
#include "runtime/windows/colour_codes.h"

COLORREF ResolveColour(uint32_t value, COLORREF default_colour) {
  if (value == kDefaultBackgroundColour) return default_colour;
  if ((value & kSystemColourFlag) != 0) return GetSysColor(static_cast<int>(value & 0xFF));
  return static_cast<COLORREF>(value & 0x00FFFFFF);
}
