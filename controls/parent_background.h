// Controls that are not rectangles of their own colour (the transparent
// label, the rounded corners of the themed button) show their parent's
// background where they draw nothing.
#pragma once

#include <windows.h>

// Has `control`'s parent draw its background into `dc`, whose origin is the
// control's client origin (WM_ERASEBKGND and WM_PRINTCLIENT, origin moved).
void DrawParentBackground(HWND control, HDC dc);
