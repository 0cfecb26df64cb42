// The hyperlink's window: painting in the colour of its state, hover
// tracking with the mouse captured while the pointer is inside, opening on
// a click, the common focus events, and its properties by number.
#include "controls/hyperlink.h"

#include <memory>

#include "controls/border_styles.h"
#include "controls/control_window.h"
#include "controls/gdi_holders.h"
#include "controls/hyperlink_opening.h"
#include "controls/stored_blocks.h"

namespace {

struct HyperlinkState {
  HyperlinkRecord record;
  OwnedFont font;
  HFONT given_font = nullptr;  // by WM_SETFONT, not owned
  bool hovering = false;
  bool visited = false;
};

// The text shown: the caption, or the address a click would open.
std::string ShownText(HWND link, const HyperlinkRecord& record) {
  const std::string caption = WindowTextOf(link);
  if (!caption.empty()) return caption;
  return record.link_type == LinkType::kWeb ? record.web : record.email;
}

COLORREF TextColor(const HyperlinkState& state) {
  const uint32_t stored = state.hovering  ? state.record.hover_color
                          : state.visited ? state.record.visited_color
                                          : state.record.normal_color;
  return ResolveColour(stored);
}

void OnPaint(HWND link, const HyperlinkState& state) {
  PaintScope paint(link);
  RECT clip;
  if (GetClipBox(paint.dc(), &clip) == NULLREGION || IsRectEmpty(&clip)) return;
  OwnedBrush background(CreateSolidBrush(ResolveColour(state.record.back_color)));
  if (background) FillRect(paint.dc(), &clip, background.get());

  const std::string text = ShownText(link, state.record);
  SetTextColor(paint.dc(), TextColor(state));
  SetBkMode(paint.dc(), TRANSPARENT);
  const HFONT given = state.given_font ? state.given_font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SelectedObject font(paint.dc(), state.font ? state.font.get() : given);
  RECT client;
  GetClientRect(link, &client);
  DrawTextA(paint.dc(), text.c_str(), static_cast<int>(text.size()), &client,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
}

void OnMouseMove(HWND link, HyperlinkState& state, LPARAM lparam) {
  if (!state.hovering) {
    state.hovering = true;
    InvalidateRect(link, nullptr, TRUE);
    SetCapture(link);
    return;
  }
  RECT client;
  GetClientRect(link, &client);
  const POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  if (!PtInRect(&client, at)) {
    state.hovering = false;
    ReleaseCapture();
    InvalidateRect(link, nullptr, TRUE);
  } else if (GetCapture() != link) {
    SetCapture(link);
  }
}

// Another window took the mouse (a message box, a menu): the link cannot see
// the pointer leave any more, so it stops hovering now.
void OnCaptureChanged(HWND link, HyperlinkState& state, HWND taker) {
  if (taker == link || !state.hovering) return;
  state.hovering = false;
  InvalidateRect(link, nullptr, TRUE);
}

void OnLeftButtonDown(HWND link, HyperlinkState& state) {
  const std::string target = HyperlinkTarget(state.record.link_type, state.record.email, state.record.web);
  const bool was_visited = state.visited;
  state.visited = OpenHyperlinkTarget(target);
  if (state.visited && !was_visited) InvalidateRect(link, nullptr, TRUE);
}

LRESULT CALLBACK HyperlinkProc(HWND link, UINT message, WPARAM wparam, LPARAM lparam) {
  HyperlinkState* state = ControlStateOf<HyperlinkState>(link);
  if (!state) return DefWindowProcA(link, message, wparam, lparam);
  switch (message) {
    case WM_PAINT: OnPaint(link, *state); return 0;
    case WM_ERASEBKGND: return 1;  // painted whole in WM_PAINT
    case WM_MOUSEMOVE: OnMouseMove(link, *state, lparam); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(link, *state, reinterpret_cast<HWND>(lparam)); return 0;
    case WM_LBUTTONDOWN: OnLeftButtonDown(link, *state); return 0;
    case WM_SETFONT:
    case WM_GETFONT:
      return OnFontMessage(link, message, wparam, lparam, state->font, state->given_font,
                           static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    case WM_SETTEXT: return SetCaptionAndRepaint(link, wparam, lparam, true);
    case WM_NCDESTROY: FreeControlState<HyperlinkState>(link); break;
    default: break;
  }
  return PassOnWithFocusEvents(nullptr, link, message, wparam, lparam);
}

HWND CreateHyperlink(const ControlCreateInfo& info) {
  auto state = std::make_unique<HyperlinkState>();
  if (!ReadHyperlinkRecord(info.properties, info.property_size, &state->record)) return nullptr;
  if (!RegisterControlClass(kHyperlinkClassName, HyperlinkProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                            LoadCursor(nullptr, IDC_HAND), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))))
    return nullptr;
  // The template's caption wins over a caption stored in the record.
  const char* caption = info.caption[0] ? info.caption : state->record.caption.c_str();
  const HWND link = CreateControlWindow(info, kHyperlinkClassName, caption, WS_CLIPSIBLINGS);
  if (!link) return nullptr;
  state->font.Reset(FontFromStoredBlock(state->record.font));
  ApplyBorderStyle(link, KeepControlState(link, std::move(state)).record.border);
  return link;
}

bool ReadHyperlink(HWND link, const HyperlinkState& state, int32_t property, Value* value) {
  const HyperlinkRecord& record = state.record;
  switch (property) {
    case kHyperlinkCaption: *value = NewTextValue(WindowTextOf(link)); return true;
    case kHyperlinkLinkType: *value = MakeInteger(static_cast<int32_t>(record.link_type)); return true;
    case kHyperlinkEmail: *value = NewTextValue(record.email); return true;
    case kHyperlinkWeb: *value = NewTextValue(record.web); return true;
    case kHyperlinkNormalColor: *value = MakeInteger(static_cast<int32_t>(record.normal_color)); return true;
    case kHyperlinkVisitedColor: *value = MakeInteger(static_cast<int32_t>(record.visited_color)); return true;
    case kHyperlinkHoverColor: *value = MakeInteger(static_cast<int32_t>(record.hover_color)); return true;
    case kHyperlinkBackColor: *value = MakeInteger(static_cast<int32_t>(record.back_color)); return true;
    case kHyperlinkBorder: *value = MakeInteger(static_cast<int32_t>(record.border)); return true;
    case kHyperlinkFont: *value = NewByteSetValue(record.font); return true;
    default: return false;
  }
}

// Colours and the link type always repaint; an address only when it is
// what the control shows (an empty caption).
bool WriteHyperlink(HWND link, HyperlinkState& state, int32_t property, uint32_t word0, uint32_t word1) {
  HyperlinkRecord& record = state.record;
  bool repaint = true;
  switch (property) {
    case kHyperlinkCaption: SetWindowTextA(link, TextOfWords(word0, word1)); return true;
    case kHyperlinkLinkType: record.link_type = ClampedLinkType(static_cast<int32_t>(word0)); break;
    case kHyperlinkEmail:
    case kHyperlinkWeb:
      (property == kHyperlinkEmail ? record.email : record.web) = TextOfWords(word0, word1);
      repaint = WindowTextOf(link).empty();
      break;
    case kHyperlinkNormalColor: record.normal_color = word0; break;
    case kHyperlinkVisitedColor: record.visited_color = word0; break;
    case kHyperlinkHoverColor: record.hover_color = word0; break;
    case kHyperlinkBackColor: record.back_color = word0; break;
    case kHyperlinkBorder:
      record.border = ClampedBorder(static_cast<int32_t>(word0));
      ApplyBorderStyle(link, record.border);
      break;
    case kHyperlinkFont:
      record.font = BytesOfByteSetWords(word0, word1);
      state.font.Reset(FontFromStoredBlock(record.font));
      break;
    default: return false;
  }
  if (repaint) InvalidateRect(link, nullptr, TRUE);
  return true;
}

}  // namespace

const ControlType* HyperlinkControlType() {
  static const ControlType type =
      StateControlType<HyperlinkState, CreateHyperlink, ReadHyperlink, WriteHyperlink>(kHyperlinkTypeId, "超级链接框");
  return &type;
}
