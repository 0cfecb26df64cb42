// The parent's background under a control, drawn by the parent itself.
#include "controls/parent_background.h"

void DrawParentBackground(HWND control, HDC dc) {
  const HWND parent = GetParent(control);
  POINT origin = {0, 0};
  MapWindowPoints(control, parent, &origin, 1);
  POINT previous;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}
