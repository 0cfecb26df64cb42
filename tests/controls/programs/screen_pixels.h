// What the button test program needs to look at the screen and move the
// real mouse: pixels of a control counted by colour, the pointer moved over
// a window with SendInput, and the whole screen saved as a BMP file.
#pragma once

#include <windows.h>

// Pixels of `control`'s client area that have exactly `color`.
int CountControlPixels(HWND control, COLORREF color);

// Waits (3 s unless told) until at least `minimum` pixels have `color`.
bool WaitForPixels(HWND control, COLORREF color, int minimum, int milliseconds = 3000);

// Moves the mouse pointer to the centre of `window` (or that many pixels
// right of it) as a user would.
void MoveMouseTo(HWND window, int right_of_centre = 0);

// Presses and releases the left mouse button where the pointer is.
void ClickMouse();

// Saves the screen as a 32-bit BMP file.
bool SaveScreen(const char* path);
