// Mouse and keyboard input through SendInput. Each event is sent on its own,
// and the next waits until the window system has taken it in (the pointer
// stands where it was put, a button or key is down or up as sent), so that a
// program sees a down before the up as it would from a hand on the mouse.
#include "tests/app/driver/user_input.h"

#include <cstring>

namespace {

// A loaded machine may take seconds before the program takes an event in.
constexpr DWORD kInputTakenMs = 10000;

// The virtual key whose state an input event sets, and whether it goes
// down; 0 for characters typed as text, which set no key.
WORD KeyOfInput(const INPUT& input, bool* down) {
  if (input.type == INPUT_MOUSE) {
    const DWORD flags = input.mi.dwFlags;
    *down = (flags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN)) != 0;
    return (flags & (MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP)) ? VK_RBUTTON : VK_LBUTTON;
  }
  *down = (input.ki.dwFlags & KEYEVENTF_KEYUP) == 0;
  return (input.ki.dwFlags & KEYEVENTF_UNICODE) ? 0 : input.ki.wVk;
}

// A mouse button counts as taken once its state is as sent. A key is waited
// for the same way but not failed on: when a click activates the window,
// Wine matches its key state to the X server's a moment later and can let go
// of a key before it is seen, after the program has had it. Every step that
// sends keys checks their effect on the program instead.
constexpr DWORD kKeySeenMs = 2000;

bool SendOne(INPUT input) {
  bool down = false;
  const WORD key = KeyOfInput(input, &down);
  if (SendInput(1, &input, sizeof input) != 1) return false;
  if (key == 0) return true;
  const bool seen = WaitForCondition([&] { return ((GetAsyncKeyState(key) & 0x8000) != 0) == down; },
                              input.type == INPUT_MOUSE ? kInputTakenMs : kKeySeenMs);
  return seen || input.type == INPUT_KEYBOARD;
}

bool MouseButton(bool right_button, bool down) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  if (right_button) {
    input.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  } else {
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  return SendOne(input);
}

bool Key(WORD virtual_key, WORD scan, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.wScan = scan;
  input.ki.dwFlags = flags;
  return SendOne(input);
}

}  // namespace

bool ClickAt(POINT screen, bool right_button) {
  if (!SetCursorPos(screen.x, screen.y)) return false;
  const bool there = WaitForCondition([&] {
    POINT now;
    return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
  }, kInputTakenMs);
  return there && MouseButton(right_button, true) && MouseButton(right_button, false);
}

bool ClickWindow(HWND window, bool right_button) {
  RECT rect;
  if (!IsWindowVisible(window) || !IsWindowEnabled(window) || !GetClientRect(window, &rect)) return false;
  return ClickClientPoint(window, POINT{(rect.right) / 2, (rect.bottom) / 2}, right_button);
}

// Under Wine a click can be lost while the window's activation settles, and
// a dialog can take seconds to answer: the button is clicked again once,
// while it is still there to click.
bool ClickUntil(HWND button, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!ClickWindow(button) && !done()) return false;
    if (WaitForCondition(done, 10000)) return true;
  }
  return false;
}

bool ClickClientPoint(HWND window, POINT client, bool right_button) {
  if (!ClientToScreen(window, &client)) return false;
  return ClickAt(client, right_button);
}

bool DoubleClickWindow(HWND window) {
  if (!ClickWindow(window)) return false;
  return MouseButton(false, true) && MouseButton(false, false);
}

bool PressKey(WORD virtual_key, int times) {
  for (int i = 0; i < times; ++i) {
    if (!Key(virtual_key, 0, 0) || !Key(virtual_key, 0, KEYEVENTF_KEYUP)) return false;
  }
  return true;
}

// Held keys carry their scan code, as a keyboard's do: the window system
// derives the modifier state of mouse messages from it.
bool KeyDown(WORD virtual_key) {
  return Key(virtual_key, static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC)), 0);
}
bool KeyUp(WORD virtual_key) {
  return Key(virtual_key, static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC)), KEYEVENTF_KEYUP);
}

// Puts UTF-16 text on the clipboard, as a copy from another program would.
bool PutOnClipboard(const std::wstring& text) {
  // Another program (the one pasted into last) may hold it for a moment.
  if (!WaitForCondition([] { return OpenClipboard(nullptr) != FALSE; }, kInputTakenMs)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool placed = false;
  if (void* memory = block ? GlobalLock(block) : nullptr) {
    memcpy(memory, text.c_str(), bytes);
    GlobalUnlock(block);
    placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  }
  if (!placed && block) GlobalFree(block);
  CloseClipboard();
  return placed;
}

bool TypeText(const std::wstring& text) {
  // Characters outside ASCII come from an input method on a real desktop;
  // here they are pasted with Ctrl+V, which an ANSI edit box converts to
  // its code page like typed characters.
  for (const wchar_t character : text) {
    if (character >= 0x80) {
      if (!PutOnClipboard(text) || !KeyDown(VK_CONTROL) || !PressKey('V')) return false;
      return KeyUp(VK_CONTROL);
    }
  }
  for (const wchar_t character : text) {
    if (!Key(0, character, KEYEVENTF_UNICODE) || !Key(0, character, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)) {
      return false;
    }
  }
  return true;
}

std::wstring WideOfGbk(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string GbkOfWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr, nullptr);
  return narrow;
}
