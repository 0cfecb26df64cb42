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

namespace controls {

struct ReportListState {
  HFONT font = nullptr;  // null: the window's font, not ours
  HIMAGELIST normal_images = nullptr;
  HIMAGELIST state_images = nullptr;
  HIMAGELIST header_images = nullptr;
  uint32_t border = 1;
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

inline ReportListState* StateOf(HWND list) {
  return reinterpret_cast<ReportListState*>(GetWindowLongPtrA(list, GWLP_USERDATA));
}

}  // namespace controls
