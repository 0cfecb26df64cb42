// What one owner-drawn button keeps while its window lives: its settings,
// the GDI objects made from them, and the mouse state. Owned by the button's
// window (GWLP_USERDATA), freed at WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <string>

#include "controls/gdi_holders.h"
#include "controls/super_button.h"

struct SuperButtonState {
  SuperButtonRecord record;
  HFONT window_font = nullptr;  // the window's font, not owned
  OwnedFont font;               // from the record's font block
  OwnedBitmap picture_out, picture_in, picture_disabled;
  OwnedBitmap generated_disabled;  // grayed copy of picture_out
  HWND tool_tip = nullptr;         // destroyed with the button (owned window)
  bool hot = false;                // the mouse is over the button

  HFONT CaptionFont() const { return font ? font.get() : window_font; }
};

// The look of one drawing of the button.
struct ButtonLook {
  bool hot = false;
  bool pressed = false;  // held down, or checked in check-box mode
  bool focused = false;
  bool disabled = false;
};

// Draws the whole button into `dc` over `area` (the button's client area).
void PaintSuperButton(HWND button, const SuperButtonState& state, const ButtonLook& look, const std::string& caption,
                      HDC dc, const RECT& area);

// The caption and background colours of a look (system colours when the
// record says so or a colour holds the default code).
COLORREF ButtonTextColor(const SuperButtonRecord& record, const ButtonLook& look);
COLORREF ButtonBackColor(const SuperButtonRecord& record, const ButtonLook& look);

// The picture objects remade from the record (after a picture or a
// transparent colour changed), and the tool tip brought up to date.
void MakeButtonPictures(SuperButtonState& state);
void UpdateButtonToolTip(HWND button, SuperButtonState& state);

// The button's own properties (numbers in super_button.h); false for a
// number it does not have. A write changes the state only; the caller
// repaints.
bool ReadSuperButtonProperty(HWND button, const SuperButtonState& state, int32_t property, Value* value);
bool WriteSuperButtonProperty(HWND button, SuperButtonState& state, int32_t property, uint32_t word0, uint32_t word1);
