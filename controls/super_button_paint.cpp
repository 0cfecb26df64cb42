// Drawing of the owner-drawn button: the frame of its style, then the
// picture of its state and the caption, laid out by the alignment. Drawn
// off screen and copied in one piece, so a hot change does not flicker.
#include <algorithm>

#include "controls/button_pictures.h"
#include "controls/parent_background.h"
#include "controls/stored_blocks.h"
#include "controls/super_button_state.h"

namespace {

constexpr int kContentMargin = 3;
constexpr int kPictureGap = 4;
constexpr int kCornerRadius = 6;

const COLORREF kThemedOutline = RGB(0, 60, 116);
const COLORREF kThemedHotLine = RGB(255, 184, 49);
const COLORREF kThemedFocusLine = RGB(137, 173, 228);
const COLORREF kThemedDisabledOutline = RGB(201, 199, 186);

COLORREF Mix(COLORREF a, COLORREF b, int percent_of_b) {
  const auto channel = [&](int x, int y) { return static_cast<BYTE>((x * (100 - percent_of_b) + y * percent_of_b) / 100); };
  return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)), channel(GetBValue(a), GetBValue(b)));
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  OwnedBrush brush(CreateSolidBrush(color));
  if (brush) FillRect(dc, &rect, brush.get());
}

void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  TRIVERTEX corners[2] = {
      {rect.left, rect.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
       static_cast<COLOR16>(GetBValue(top) << 8), 0},
      {rect.right, rect.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
       static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0}};
  GRADIENT_RECT span = {0, 1};
  if (!GradientFill(dc, corners, 2, &span, 1, GRADIENT_FILL_RECT_V)) Fill(dc, rect, bottom);
}

void RoundOutline(HDC dc, RECT rect, COLORREF color) {
  OwnedPen pen(CreatePen(PS_SOLID, 1, color));
  SelectedObject selected_pen(dc, pen.get());
  SelectedObject selected_brush(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, kCornerRadius, kCornerRadius);
}

// The corners outside the rounded outline show the window behind. Without
// its border the outline is left out; the hot and focus lines stay.
void DrawThemedFrame(HWND button, HDC dc, const RECT& area, COLORREF back, const ButtonLook& look, bool draw_border) {
  DrawParentBackground(button, dc);
  // The gradient is clipped to the rounded shape of the outline.
  HRGN shape = CreateRoundRectRgn(area.left, area.top, area.right + 1, area.bottom + 1, kCornerRadius, kCornerRadius);
  if (shape) SelectClipRgn(dc, shape);
  if (look.disabled) {
    Fill(dc, area, back);
  } else if (look.pressed) {
    VerticalGradient(dc, area, Mix(back, RGB(0, 0, 0), 15), Mix(back, RGB(255, 255, 255), 40));
  } else {
    VerticalGradient(dc, area, Mix(back, RGB(255, 255, 255), 70), Mix(back, RGB(0, 0, 0), 8));
  }
  SelectClipRgn(dc, nullptr);
  if (shape) DeleteObject(shape);

  if (draw_border) RoundOutline(dc, area, look.disabled ? kThemedDisabledOutline : kThemedOutline);
  RECT inner = area;
  InflateRect(&inner, -1, -1);
  if (look.disabled) return;
  if (look.hot && !look.pressed) {
    RoundOutline(dc, inner, kThemedHotLine);
  } else if (look.focused) {
    RoundOutline(dc, inner, kThemedFocusLine);
  }
}

void DrawFlatFrame(HDC dc, RECT area, COLORREF back, const ButtonLook& look, bool draw_border) {
  Fill(dc, area, back);
  if (look.pressed) {
    DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
  } else if (look.hot && !look.disabled) {
    DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT);
  } else if (draw_border) {
    FrameRect(dc, &area, GetSysColorBrush(COLOR_BTNSHADOW));
  }
}

void DrawRaisedFrame(HDC dc, RECT area, COLORREF back, const ButtonLook& look) {
  Fill(dc, area, back);
  DrawEdge(dc, &area, look.pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

// The picture of the look: disabled, hot, or normal, each falling back to
// the normal picture (the disabled one to its grayed copy).
HBITMAP PictureOf(const SuperButtonState& state, const ButtonLook& look, uint32_t* transparent) {
  const SuperButtonRecord& record = state.record;
  if (look.disabled) {
    if (state.picture_disabled) {
      *transparent = record.transparent_disabled;
      return state.picture_disabled.get();
    }
    if (state.generated_disabled) {
      *transparent = record.transparent_out;
      return state.generated_disabled.get();
    }
  }
  if (look.hot && state.picture_in) {
    *transparent = record.transparent_in;
    return state.picture_in.get();
  }
  *transparent = record.transparent_out;
  return state.picture_out.get();
}

SIZE CaptionSize(HDC dc, const std::string& caption) {
  if (caption.empty()) return SIZE{0, 0};
  RECT measured = {0, 0, 0, 0};
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  return SIZE{measured.right, measured.bottom};
}

// Places picture and caption inside `content` as the alignment says.
void PlaceContent(PictureAlign align, const RECT& content, SIZE picture, SIZE text, POINT* picture_at, RECT* text_at) {
  const int width = content.right - content.left, height = content.bottom - content.top;
  const int gap = picture.cx > 0 && text.cx > 0 ? kPictureGap : 0;
  const int centre_x = content.left + width / 2, centre_y = content.top + height / 2;
  *text_at = content;
  switch (align) {
    case PictureAlign::kLeft:
    case PictureAlign::kRight: {
      const int start = centre_x - (picture.cx + gap + text.cx) / 2;
      const bool picture_first = align == PictureAlign::kLeft;
      picture_at->x = picture_first ? start : start + text.cx + gap;
      picture_at->y = centre_y - picture.cy / 2;
      text_at->left = picture_first ? start + picture.cx + gap : start;
      text_at->right = text_at->left + text.cx;
      break;
    }
    case PictureAlign::kAbove: {
      const int start = centre_y - (picture.cy + gap + text.cy) / 2;
      picture_at->x = centre_x - picture.cx / 2;
      picture_at->y = start;
      text_at->top = start + picture.cy + gap;
      text_at->bottom = text_at->top + text.cy;
      break;
    }
    case PictureAlign::kOverlaid:
      picture_at->x = centre_x - picture.cx / 2;
      picture_at->y = centre_y - picture.cy / 2;
      break;
  }
}

}  // namespace

COLORREF ButtonTextColor(const SuperButtonRecord& record, const ButtonLook& look) {
  if (look.disabled) return GetSysColor(COLOR_GRAYTEXT);
  const COLORREF system = GetSysColor(COLOR_BTNTEXT);
  if (record.default_colors) return system;
  const StateColor which = look.hot ? kFgIn : look.focused ? kFgFocus : kFgOut;
  return ResolveColour(record.colors[which], system);
}

COLORREF ButtonBackColor(const SuperButtonRecord& record, const ButtonLook& look) {
  const COLORREF system = GetSysColor(COLOR_BTNFACE);
  if (record.default_colors || look.disabled) return system;
  const StateColor which = look.hot ? kBkIn : look.focused ? kBkFocus : kBkOut;
  return ResolveColour(record.colors[which], system);
}

void PaintSuperButton(HWND button, const SuperButtonState& state, const ButtonLook& look, const std::string& caption,
                      HDC dc, const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  MemoryDc memory(dc);
  OwnedBitmap canvas(CreateCompatibleBitmap(dc, width, height));
  // Without an off-screen canvas the button is drawn straight into `dc`.
  const bool buffered = memory && canvas;
  const HDC target = buffered ? memory.get() : dc;
  SelectedObject selected_canvas(memory.get(), buffered ? canvas.get() : nullptr);
  const RECT frame = {0, 0, width, height};
  if (!buffered) SetViewportOrgEx(dc, area.left, area.top, nullptr);

  const SuperButtonRecord& record = state.record;
  const COLORREF back = ButtonBackColor(record, look);
  switch (record.style) {
    case ButtonStyle::kFlat: DrawFlatFrame(target, frame, back, look, record.draw_border); break;
    case ButtonStyle::kRaised: DrawRaisedFrame(target, frame, back, look); break;
    case ButtonStyle::kThemed: DrawThemedFrame(button, target, frame, back, look, record.draw_border); break;
  }

  RECT content = frame;
  InflateRect(&content, -kContentMargin, -kContentMargin);
  if (look.pressed) {
    const bool down_only = record.press_style == kPressDown;
    OffsetRect(&content, down_only ? 0 : 1, down_only ? 2 : 1);
  }

  SelectedObject selected_font(target, state.CaptionFont());
  uint32_t stored_transparent = kDefaultColorCode;
  const HBITMAP picture = PictureOf(state, look, &stored_transparent);
  const SIZE picture_size = PictureSize(picture);
  const SIZE text_size = CaptionSize(target, caption);
  POINT picture_at = {};
  RECT text_at = {};
  PlaceContent(record.align, content, picture_size, text_size, &picture_at, &text_at);
  if (picture) DrawTransparentPicture(target, picture_at.x, picture_at.y, picture, TransparentColorOf(picture, stored_transparent));
  if (!caption.empty()) {
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, ButtonTextColor(record, look));
    DrawTextA(target, caption.c_str(), static_cast<int>(caption.size()), &text_at,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
  }

  // A 3D button always shows its focus; the others when they are asked to.
  const bool show_focus = look.focused && !look.disabled && (record.style == ButtonStyle::kRaised || record.draw_focus);
  if (show_focus) {
    RECT focus = frame;
    InflateRect(&focus, -kContentMargin, -kContentMargin);
    DrawFocusRect(target, &focus);
  }

  if (buffered) {
    BitBlt(dc, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
  } else {
    SetViewportOrgEx(dc, 0, 0, nullptr);
  }
}
