// Property numbers for the property services (ReadProperty/WriteProperty).
//
// Every control and every window has the common properties, numbered below
// 0 so that each type numbers its own properties from 0 in its own order
// (the custom controls of the control library do the same).
//
// Types: integer (kTagInteger), logical (kTagLogical), text (kTagText; a
// read returns a new heap text, a write lends one in the value words, word0
// and, on 64-bit builds, word1).
//
// Part of the runtime's public surface (runtime/README.md).
#pragma once

#include <cstdint>

// Common to every control and window.
enum CommonProperty : int32_t {
  kPropertyLeft = -1,      // integer, pixels; a window: screen, a control: the window's client area
  kPropertyTop = -2,       // integer
  kPropertyWidth = -3,     // integer; a window: its outer width
  kPropertyHeight = -4,    // integer; a window: its outer height
  kPropertyVisible = -5,   // logical
  kPropertyDisabled = -6,  // logical
  kPropertyTag = -7,       // integer, free for the application
};

// The window ("窗口").
enum WindowProperty : int32_t {
  kWindowCaption = 0,  // text
};

// Button ("按钮").
enum ButtonProperty : int32_t {
  kButtonCaption = 0,  // text
};

// Edit box ("编辑框").
enum EditBoxProperty : int32_t {
  kEditBoxText = 0,  // text, the content
};

// Drop-down list ("组合框").
enum ComboBoxProperty : int32_t {
  kComboBoxItems = 0,        // text, the items joined by "\r\n"; a write replaces them all
  kComboBoxSelection = 1,    // integer, index of the current item from 0, -1 none
  kComboBoxCurrentText = 2,  // text; a write selects the first item of that text
};

// Progress bar ("进度条").
enum ProgressBarProperty : int32_t {
  kProgressMinimum = 0,   // integer
  kProgressMaximum = 1,   // integer
  kProgressPosition = 2,  // integer
};

// Check box ("选择框").
enum CheckBoxProperty : int32_t {
  kCheckBoxCaption = 0,  // text
  kCheckBoxChecked = 1,  // logical
};

// Menu item ("菜单项"); the menu ("菜单") has the common properties only.
enum MenuItemProperty : int32_t {
  kMenuItemCaption = 0,   // text; "-" makes the item a separator
  kMenuItemDisabled = 1,  // logical
  kMenuItemChecked = 2,   // logical
};
