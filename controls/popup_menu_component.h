// The popup-menu component ("超级菜单", type 0x30005): a hidden control whose
// presence makes its window's popup menus drawn by it, in its colours and
// font: the items in order, the chosen one handed to its handler as before,
// separators as a line. Without the component the window's menus are the
// system's own.
//
// Stored property record (little-endian; colours are 0x00BBGGRR words, the
// default code kDefaultColorCode standing for the system colour named):
//
//   offset  field
//   0       u32    version                0; larger: the record is refused
//   4       u32    text colour            default: COLOR_MENUTEXT
//   8       u32    background colour      default: COLOR_MENU
//   12      u32    highlight text colour  default: COLOR_HIGHLIGHTTEXT
//   16      u32    highlight colour       default: COLOR_HIGHLIGHT
//   20      u32    separator colour       default: COLOR_GRAYTEXT
//   24      u32    item height            pixels; 0: from the font
//   28      u32    font byte count        0, or 60 for a LOGFONTA-order font block
//   32      ..     font block             none: the window's font
//
// Nothing may follow the font block. An empty record gives the defaults.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/stored_blocks.h"
#include "runtime/control_types.h"

constexpr uint32_t kPopupMenuComponentTypeId = 0x30005;

enum PopupMenuComponentProperty : int32_t {
  kMenuTextColor = 0,            // integer colours, in the record's order
  kMenuBackColor = 1,
  kMenuHighlightTextColor = 2,
  kMenuHighlightColor = 3,
  kMenuSeparatorColor = 4,
  kMenuItemHeight = 5,           // integer, pixels; 0 from the font
  kMenuFont = 6,                 // byte set: a font block
};

enum MenuColor { kMenuText, kMenuBack, kMenuHighlightText, kMenuHighlight, kMenuSeparator, kMenuColorCount };

struct PopupMenuRecord {
  uint32_t colors[kMenuColorCount] = {kDefaultColorCode, kDefaultColorCode, kDefaultColorCode, kDefaultColorCode,
                                      kDefaultColorCode};
  uint32_t item_height = 0;
  std::vector<uint8_t> font;
};

bool ReadPopupMenuRecord(const uint8_t* bytes, size_t size, PopupMenuRecord* record);

const ControlType* PopupMenuComponentControlType();
