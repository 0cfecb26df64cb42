// What the windows of the library's controls share: the window class
// registered once, the child window made from its create info, the state a
// control keeps in its window's user data, its property calls reaching that
// state, and the messages every control answers alike (the common focus
// events, a caption change that repaints).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "runtime/control_types.h"

// Registers a window class of the program's own unless it exists already;
// false when it neither exists nor could be registered.
bool RegisterControlClass(const char* name, WNDPROC procedure, UINT class_style, HCURSOR cursor,
                          HBRUSH background = nullptr);

// Makes the control's child window: `style` and WS_CHILD, WS_VISIBLE and
// WS_DISABLED as the info says, over the info's rectangle, with its child
// identifier (the control's id). The font is left to the caller.
HWND CreateControlWindow(const ControlCreateInfo& info, const char* class_name, const char* caption, DWORD style,
                         DWORD extended_style = 0);

// The state a control's window keeps in its user data; null before it is
// handed over and after the window freed it.
template <typename State>
State* ControlStateOf(HWND window) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Hands the state to the window, which frees it at WM_NCDESTROY
// (FreeControlState); what the caller may go on using.
template <typename State>
State& KeepControlState(HWND window, std::unique_ptr<State> state) {
  State* kept = state.release();
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(kept));
  return *kept;
}

// At WM_NCDESTROY: the state leaves the window first, so that no late
// message finds it, and is freed.
template <typename State>
void FreeControlState(HWND window) {
  const std::unique_ptr<State> owned(ControlStateOf<State>(window));
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

// The read and write entries of a control type over its window's state: a
// control whose window has no state (yet, or any more) has no properties.
template <typename State, bool (*Read)(HWND, const State&, int32_t, Value*)>
bool ReadStateProperty(ControlInstance& control, int32_t property, Value* value) {
  const State* state = ControlStateOf<State>(control.handle);
  return state != nullptr && Read(control.handle, *state, property, value);
}

template <typename State, bool (*Write)(HWND, State&, int32_t, uint32_t, uint32_t)>
bool WriteStateProperty(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1) {
  State* state = ControlStateOf<State>(control.handle);
  return state != nullptr && Write(control.handle, *state, property, word0, word1);
}

// The type record of a windowed control whose properties live in its
// window's state (`Read` and `Write` as above).
template <typename State, HWND (*Create)(const ControlCreateInfo&), bool (*Read)(HWND, const State&, int32_t, Value*),
          bool (*Write)(HWND, State&, int32_t, uint32_t, uint32_t)>
constexpr ControlType StateControlType(uint32_t type_id, const char* type_name) {
  return ControlType{type_id, type_name, false, Create, ReadStateProperty<State, Read>,
                     WriteStateProperty<State, Write>};
}

// Hands a message to the procedure the control's class is built on (null:
// DefWindowProcA, for a class of its own), then raises the common focus
// events for WM_SETFOCUS and WM_KILLFOCUS, so that handlers see the focus
// where it already is.
LRESULT PassOnWithFocusEvents(WNDPROC base, HWND control, UINT message, WPARAM wparam, LPARAM lparam);

// WM_SETTEXT of a control that draws its caption itself: the text is set,
// then the control repaints (erasing first when `erase`).
LRESULT SetCaptionAndRepaint(HWND control, WPARAM wparam, LPARAM lparam, bool erase);
