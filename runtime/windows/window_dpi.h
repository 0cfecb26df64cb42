// The dots per inch of a loaded window, and the one place where its layout
// and fonts follow them. Window templates give places in pixels of a 96-DPI
// screen and fonts as made for such a screen; a window on a denser screen
// has every control moved, sized and given a font scaled to the screen, and
// again whenever the window moves to a screen of another density
// (WM_DPICHANGED). Controls take part only through the platform's own
// messages: WM_SETFONT and WM_GETFONT, and a list view's column widths.
#pragma once

#include <windows.h>

struct LoadedWindow;

// The density that template places and fonts are given for.
constexpr UINT kTemplateDpi = 96;

// The platform's message for a window moved to a screen of another density
// (wparam: the new DPI in both words; lparam: the suggested window rectangle).
constexpr UINT kDpiChangedMessage = 0x02E0;

// A font as the runtime made it for a window's density, with the font it was
// scaled from as made for kTemplateDpi.
struct DpiFont {
  HFONT font;
  LOGFONTA design;
};

// The window's density: GetDpiForWindow where the platform has it (per
// monitor), else the screen's LOGPIXELSX.
UINT DpiOfWindow(HWND window);

// After its controls are made at template places: scales a new window's
// controls and outer size to the density of the screen it is on.
void FitNewWindowToItsScreen(LoadedWindow& window);

// WM_DPICHANGED: scales the controls to `dpi`, then takes the suggested
// rectangle (whose size change raises the window's "size changed" event).
void OnWindowDpiChanged(LoadedWindow& window, UINT dpi, const RECT& suggested);

// After a property write: a control that took a new font from its record
// (made for kTemplateDpi) gets it scaled to its window's density.
void RefitControlFont(LoadedWindow& window, HWND control);

// The window is gone: frees the fonts made for it.
void ReleaseDpiFonts(LoadedWindow& window);
