// The transparent label's window. It has no background of its own: each
// paint first has the parent draw its background into the label's area
// (WM_ERASEBKGND and WM_PRINTCLIENT with the origin moved), then draws the
// caption on top, off screen, so that the text never flickers or smears
// over itself when it changes.
#include "controls/transparent_label.h"

#include <memory>

#include "controls/control_window.h"
#include "controls/gdi_holders.h"
#include "controls/parent_background.h"
#include "controls/stored_blocks.h"

namespace {

constexpr char kLabelClass[] = "TulvexTransparentLabel";
constexpr uint32_t kNewestVersion = 0;

struct LabelState {
  TransparentLabelRecord record;
  HFONT window_font = nullptr;  // not owned
  OwnedFont font;
};

void DrawCaption(HWND label, const LabelState& state, HDC dc, RECT area) {
  const std::string caption = WindowTextOf(label);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColour(state.record.text_color, GetSysColor(COLOR_WINDOWTEXT)));
  SelectedObject font(dc, state.font ? state.font.get() : state.window_font);
  const UINT horizontal = state.record.alignment == kLabelCentred       ? DT_CENTER
                         : state.record.alignment == kLabelRightAligned ? DT_RIGHT
                                                                        : DT_LEFT;
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
            horizontal | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void OnPaint(HWND label, const LabelState& state) {
  PaintScope paint(label);
  RECT client;
  GetClientRect(label, &client);
  MemoryDc memory(paint.dc());
  OwnedBitmap canvas(CreateCompatibleBitmap(paint.dc(), client.right, client.bottom));
  if (!memory || !canvas) {
    DrawParentBackground(label, paint.dc());
    DrawCaption(label, state, paint.dc(), client);
    return;
  }
  SelectedObject selected(memory.get(), canvas.get());
  DrawParentBackground(label, memory.get());
  DrawCaption(label, state, memory.get(), client);
  BitBlt(paint.dc(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wparam, LPARAM lparam) {
  LabelState* state = ControlStateOf<LabelState>(label);
  if (!state) return DefWindowProcA(label, message, wparam, lparam);
  switch (message) {
    case WM_PAINT: OnPaint(label, *state); return 0;
    case WM_ERASEBKGND: return 1;  // the paint draws the parent's background
    case WM_NCHITTEST: return HTTRANSPARENT;  // clicks go to what lies below
    case WM_SETFONT:
    case WM_GETFONT: return OnFontMessage(label, message, wparam, lparam, state->font, state->window_font, nullptr);
    case WM_SETTEXT: return SetCaptionAndRepaint(label, wparam, lparam, false);
    case WM_NCDESTROY: FreeControlState<LabelState>(label); break;
    default: break;
  }
  return DefWindowProcA(label, message, wparam, lparam);
}

HWND CreateTransparentLabel(const ControlCreateInfo& info) {
  auto state = std::make_unique<LabelState>();
  if (!ReadTransparentLabelRecord(info.properties, info.property_size, &state->record)) return nullptr;
  if (!RegisterControlClass(kLabelClass, LabelProc, CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW)))
    return nullptr;
  // WS_EX_TRANSPARENT: siblings below are painted first.
  const HWND label = CreateControlWindow(info, kLabelClass, info.caption, 0, WS_EX_TRANSPARENT);
  if (!label) return nullptr;
  state->window_font = info.font;
  state->font.Reset(FontFromStoredBlock(state->record.font));
  KeepControlState(label, std::move(state));
  InvalidateRect(label, nullptr, FALSE);
  return label;
}

bool ReadLabel(HWND label, const LabelState& state, int32_t property, Value* value) {
  switch (property) {
    case kLabelCaption: *value = NewTextValue(WindowTextOf(label)); return true;
    case kLabelTextColor: *value = MakeInteger(static_cast<int32_t>(state.record.text_color)); return true;
    case kLabelAlignment: *value = MakeInteger(static_cast<int32_t>(state.record.alignment)); return true;
    case kLabelFont: *value = NewByteSetValue(state.record.font); return true;
    default: return false;
  }
}

bool WriteLabel(HWND label, LabelState& state, int32_t property, uint32_t word0, uint32_t word1) {
  switch (property) {
    case kLabelCaption: SetWindowTextA(label, TextOfWords(word0, word1)); return true;
    case kLabelTextColor: state.record.text_color = word0; break;
    case kLabelAlignment:
      state.record.alignment = ClampedChoice(word0, kLastLabelAlignment);
      break;
    case kLabelFont:
      state.record.font = BytesOfByteSetWords(word0, word1);
      state.font.Reset(FontFromStoredBlock(state.record.font));
      break;
    default: return false;
  }
  InvalidateRect(label, nullptr, FALSE);
  return true;
}

}  // namespace

bool ReadTransparentLabelRecord(const uint8_t* bytes, size_t size, TransparentLabelRecord* record) {
  return ReadVersionedRecord(bytes, size, kNewestVersion, record, [record](ByteCursor& cursor, uint32_t) {
    record->text_color = cursor.U32();
    record->alignment = cursor.U32();
    if (record->alignment > kLastLabelAlignment) cursor.Fail();
    ReadStoredBlock(cursor, &record->font);
  });
}

const ControlType* TransparentLabelControlType() {
  static const ControlType type =
      StateControlType<LabelState, CreateTransparentLabel, ReadLabel, WriteLabel>(kTransparentLabelTypeId, "透明标签");
  return &type;
}
