// The transparent label's window. It has no background of its own: each
// paint first has the parent draw its background into the label's area
// (WM_ERASEBKGND and WM_PRINTCLIENT with the origin moved), then draws the
// caption on top, off screen, so that the text never flickers or smears
// over itself when it changes.
#include "controls/transparent_label.h"

#include <memory>

#include "controls/gdi_holders.h"
#include "controls/parent_background.h"
#include "controls/stored_blocks.h"

namespace {

constexpr char kLabelClass[] = "TulvexTransparentLabel";
constexpr uint32_t kLastAlignment = 2;

struct LabelState {
  TransparentLabelRecord record;
  HFONT window_font = nullptr;  // not owned
  OwnedFont font;
};

LabelState* StateOf(HWND label) { return reinterpret_cast<LabelState*>(GetWindowLongPtrA(label, GWLP_USERDATA)); }

void DrawCaption(HWND label, const LabelState& state, HDC dc, RECT area) {
  const std::string caption = WindowTextOf(label);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColour(state.record.text_color, GetSysColor(COLOR_WINDOWTEXT)));
  SelectedObject font(dc, state.font ? state.font.get() : state.window_font);
  const UINT horizontal = state.record.alignment == 1 ? DT_CENTER : state.record.alignment == 2 ? DT_RIGHT : DT_LEFT;
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
  LabelState* state = StateOf(label);
  if (!state) return DefWindowProcA(label, message, wparam, lparam);
  switch (message) {
    case WM_PAINT: OnPaint(label, *state); return 0;
    case WM_ERASEBKGND: return 1;  // the paint draws the parent's background
    case WM_NCHITTEST: return HTTRANSPARENT;  // clicks go to what lies below
    case WM_SETFONT:
    case WM_GETFONT: return OnFontMessage(label, message, wparam, lparam, state->font, state->window_font, nullptr);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(label, message, wparam, lparam);
      InvalidateRect(label, nullptr, FALSE);
      return result;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(label, GWLP_USERDATA, 0);
      delete state;
      break;
    default: break;
  }
  return DefWindowProcA(label, message, wparam, lparam);
}

bool RegisterLabelClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA label_class = {};
  label_class.style = CS_HREDRAW | CS_VREDRAW;
  label_class.lpfnWndProc = LabelProc;
  label_class.hInstance = GetModuleHandleA(nullptr);
  label_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  label_class.lpszClassName = kLabelClass;
  registered = RegisterClassA(&label_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

HWND CreateTransparentLabel(const ControlCreateInfo& info) {
  auto state = std::make_unique<LabelState>();
  if (!ReadTransparentLabelRecord(info.properties, info.property_size, &state->record)) return nullptr;
  if (!RegisterLabelClass()) return nullptr;
  DWORD style = WS_CHILD;
  if (info.visible) style |= WS_VISIBLE;
  if (info.disabled) style |= WS_DISABLED;
  // WS_EX_TRANSPARENT: siblings below are painted first.
  const HWND label = CreateWindowExA(WS_EX_TRANSPARENT, kLabelClass, info.caption, style, info.left, info.top,
                                     info.width, info.height, info.parent,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(info.control_id)),
                                     GetModuleHandleA(nullptr), nullptr);
  if (!label) return nullptr;
  state->window_font = info.font;
  state->font.Reset(FontFromStoredBlock(state->record.font));
  SetWindowLongPtrA(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
  InvalidateRect(label, nullptr, FALSE);
  return label;
}

bool ReadLabel(ControlInstance& control, int32_t property, Value* value) {
  const LabelState* state = StateOf(control.handle);
  if (!state) return false;
  switch (property) {
    case kLabelCaption: *value = NewTextValue(WindowTextOf(control.handle)); return true;
    case kLabelTextColor: *value = MakeInteger(static_cast<int32_t>(state->record.text_color)); return true;
    case kLabelAlignment: *value = MakeInteger(static_cast<int32_t>(state->record.alignment)); return true;
    case kLabelFont: *value = NewByteSetValue(state->record.font); return true;
    default: return false;
  }
}

bool WriteLabel(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1) {
  LabelState* state = StateOf(control.handle);
  if (!state) return false;
  switch (property) {
    case kLabelCaption: SetWindowTextA(control.handle, TextOfWords(word0, word1)); return true;
    case kLabelTextColor: state->record.text_color = word0; break;
    case kLabelAlignment:
      state->record.alignment = static_cast<int32_t>(word0) < 0 ? 0 : word0 > kLastAlignment ? kLastAlignment : word0;
      break;
    case kLabelFont:
      state->record.font = BytesOfByteSetWords(word0, word1);
      state->font.Reset(FontFromStoredBlock(state->record.font));
      break;
    default: return false;
  }
  InvalidateRect(control.handle, nullptr, FALSE);
  return true;
}

}  // namespace

bool ReadTransparentLabelRecord(const uint8_t* bytes, size_t size, TransparentLabelRecord* record) {
  *record = TransparentLabelRecord();
  if (size == 0) return true;
  ByteCursor cursor(bytes, size);
  const uint32_t version = cursor.U32();
  if (!cursor.ok() || version != 0) return false;
  record->text_color = cursor.U32();
  record->alignment = cursor.U32();
  if (record->alignment > kLastAlignment) cursor.Fail();
  ReadStoredBlock(cursor, &record->font);
  return cursor.AtEnd();
}

const ControlType* TransparentLabelControlType() {
  static const ControlType type = {kTransparentLabelTypeId, "透明标签", false, CreateTransparentLabel, ReadLabel,
                                   WriteLabel};
  return &type;
}
