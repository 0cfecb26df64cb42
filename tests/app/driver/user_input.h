// Input as a user gives it: real mouse clicks at screen points and real key
// strokes, injected with SendInput so that they reach the program through the
// window system like a person's; WaitForCondition waits for what follows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tests/support/condition_wait.h"

// Moves the pointer to a screen point and presses and releases a button.
bool ClickAt(POINT screen, bool right_button = false);
// Clicks the middle of a window (false when it is hidden or disabled).
bool ClickWindow(HWND window, bool right_button = false);
// Clicks `button` until `done` holds, a second time when the first click is
// lost (false when `done` never holds).
bool ClickUntil(HWND button, const std::function<bool()>& done);
// Clicks a point given in a window's client coordinates.
bool ClickClientPoint(HWND window, POINT client, bool right_button = false);
// Double-clicks the middle of a window.
bool DoubleClickWindow(HWND window);

// Presses and releases one virtual key, `times` over.
bool PressKey(WORD virtual_key, int times = 1);
// Holds a key (Ctrl, Shift) down or lets it go.
bool KeyDown(WORD virtual_key);
bool KeyUp(WORD virtual_key);
// Types text into the focused window, character by character.
bool TypeText(const std::wstring& text);

// GBK (the program's code page) to UTF-16 and back.
std::wstring WideOfGbk(const std::string& text);
std::string GbkOfWide(const std::wstring& text);
