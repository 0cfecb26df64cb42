// The one table of border styles and its application to a live window.
#include "controls/border_styles.h"

#include "controls/stored_blocks.h"

uint32_t ClampedBorder(int32_t value) { return ClampedChoice(static_cast<uint32_t>(value), kLastBorder); }

DWORD BorderExtendedStyle(uint32_t border) {
  switch (border) {
    case kSunkenBorder: return WS_EX_CLIENTEDGE;
    case kRaisedBorder: return WS_EX_DLGMODALFRAME;
    case kShallowSunkenBorder: return WS_EX_STATICEDGE;
    case kFrameBorder: return WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
    default: return 0;
  }
}

DWORD BorderWindowStyle(uint32_t border) { return border == kSingleLineBorder ? WS_BORDER : 0; }

void ApplyBorderStyle(HWND window, uint32_t border) {
  // Every edge bit any border may have set goes first, the window edge that
  // the system adds beside a modal frame among them.
  constexpr DWORD kEdges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;
  constexpr DWORD kLines = WS_BORDER | WS_DLGFRAME;
  const LONG_PTR extended = GetWindowLongPtrA(window, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(kEdges);
  SetWindowLongPtrA(window, GWL_EXSTYLE, extended | static_cast<LONG_PTR>(BorderExtendedStyle(border)));
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE) & ~static_cast<LONG_PTR>(kLines);
  SetWindowLongPtrA(window, GWL_STYLE, style | static_cast<LONG_PTR>(BorderWindowStyle(border)));
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
