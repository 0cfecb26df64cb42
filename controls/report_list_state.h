// What the report list keeps beside the platform control: the objects it
// made from its record (owned here, freed with the window), the stored
// codes of the fields the platform cannot give back, the info tips of the
// initial rows and the label being edited. One per list window, reached
// through the window's user data.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <string>

#include "controls/border_styles.h"

namespace controls {

// LVM_GETNEXTITEM from here searches from the first row on; LVM_SETITEMSTATE
// for it changes every row.
constexpr WPARAM kBeforeFirstRow = static_cast<WPARAM>(-1);
constexpr WPARAM kEveryRow = static_cast<WPARAM>(-1);

// The platform keeps a row's state image n as n + 1 in the bits of
// LVIS_STATEIMAGEMASK, from bit 12 on; 0 there is none.
constexpr int kStateImageShift = 12;

// The state bits of state image `index` (none for a negative index).
inline UINT StateImageBits(int32_t index) {
  const int64_t stored = int64_t{index} + 1;
  return static_cast<UINT>(stored > 0 ? stored : 0) << kStateImageShift;
}

// The state image of a row's state bits, -1 for none.
inline int32_t StateImageOfBits(UINT bits) {
  return static_cast<int32_t>((bits & LVIS_STATEIMAGEMASK) >> kStateImageShift) - 1;
}

struct ReportListState {
  HFONT font = nullptr;  // null: the window's font, not ours
  HIMAGELIST normal_images = nullptr;
  HIMAGELIST state_images = nullptr;
  HIMAGELIST header_images = nullptr;
  uint32_t border = kSunkenBorder;
  uint32_t text_background = 0xFFFFFF;  // stored codes, as read back
  uint32_t background = 0xFFFFFF;
  bool hand_cursor = true;
  int32_t hot_row = -1;  // the row hot tracking is on, -1 none
  // Info tips by the platform's stable item identifier (LVM_MAPINDEXTOID),
  // so they follow their rows when rows are inserted or deleted above.
  std::map<UINT, std::string> tips;
  std::string edited_text;  // during the "label edit ended" event

  ~ReportListState() {
    if (font) DeleteObject(font);
    if (normal_images) ImageList_Destroy(normal_images);
    if (state_images) ImageList_Destroy(state_images);
    if (header_images) ImageList_Destroy(header_images);
  }
};

}  // namespace controls
