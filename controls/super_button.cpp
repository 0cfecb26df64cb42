// The owner-drawn button's window: a superclass of the system BUTTON made
// with BS_OWNERDRAW, so that its window hands WM_DRAWITEM and WM_COMMAND
// back to it (reflection); it tracks the mouse for its hot look, plays its
// sounds, keeps its tool tip and raises "被单击".
#include "controls/super_button.h"

#include <cstring>
#include <memory>

#include <commctrl.h>
#include <mmsystem.h>

#include "controls/button_pictures.h"
#include "controls/control_window.h"
#include "controls/default_button.h"
#include "controls/stored_blocks.h"
#include "controls/super_button_state.h"

namespace {

constexpr char kSuperButtonClass[] = "TulvexSuperButton";
WNDPROC g_button_procedure = nullptr;

// Only WAV data ("RIFF", a 32-bit size, "WAVE") is handed to the player.
void PlayWave(const std::vector<uint8_t>& wave) {
  constexpr size_t kTagBytes = 4, kFormTagOffset = 8, kHeaderBytes = 12;
  if (wave.size() < kHeaderBytes || std::memcmp(wave.data(), "RIFF", kTagBytes) != 0 ||
      std::memcmp(wave.data() + kFormTagOffset, "WAVE", kTagBytes) != 0) {
    return;
  }
  PlaySoundA(reinterpret_cast<LPCSTR>(wave.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace

void MakeButtonPictures(SuperButtonState& state) {
  const SuperButtonRecord& record = state.record;
  state.picture_out.Reset(PictureFromStoredBlock(record.picture_out));
  state.picture_in.Reset(PictureFromStoredBlock(record.picture_in));
  state.picture_disabled.Reset(PictureFromStoredBlock(record.picture_disabled));
  state.generated_disabled.Reset();
  if (state.picture_out && !state.picture_disabled) {
    const COLORREF transparent = TransparentColorOf(state.picture_out.get(), record.transparent_out);
    state.generated_disabled.Reset(MakeDisabledPicture(state.picture_out.get(), transparent));
  }
}

void UpdateButtonToolTip(HWND button, SuperButtonState& state) {
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(button);
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  tool.lpszText = const_cast<char*>(state.record.tool_tip.c_str());
  if (state.tool_tip) {
    SendMessageA(state.tool_tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  if (state.record.tool_tip.empty()) return;
  state.tool_tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, button, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
  if (state.tool_tip) SendMessageA(state.tool_tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

namespace {

LRESULT OnDrawItem(HWND button, const SuperButtonState& state, const DRAWITEMSTRUCT& item) {
  ButtonLook look;
  look.hot = state.hot;
  look.disabled = (item.itemState & ODS_DISABLED) != 0;
  look.focused = (item.itemState & ODS_FOCUS) != 0;
  look.pressed = (item.itemState & ODS_SELECTED) != 0 || (state.record.check_box && state.record.checked);
  PaintSuperButton(button, state, look, WindowTextOf(button), item.hDC, item.rcItem);
  return TRUE;
}

void OnClicked(HWND button, SuperButtonState& state) {
  if (state.record.check_box) {
    state.record.checked = !state.record.checked;
    InvalidateRect(button, nullptr, FALSE);
  }
  PlayWave(state.record.click_sound);
  if (state.record.standard_sound) MessageBeep(MB_OK);
  RaiseControlEvent(button, kSuperButtonClickedEvent);
}

void OnMouseMove(HWND button, SuperButtonState& state) {
  if (state.hot) return;
  state.hot = true;
  TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, button, 0};
  TrackMouseEvent(&track);
  InvalidateRect(button, nullptr, FALSE);
  // Entering a non-3D button may sound.
  if (state.record.style != ButtonStyle::kRaised) {
    PlayWave(state.record.over_sound);
    if (state.record.standard_sound) MessageBeep(MB_OK);
  }
}

void OnMouseLeave(HWND button, SuperButtonState& state) {
  state.hot = false;
  InvalidateRect(button, nullptr, FALSE);
}

void OnNcDestroy(HWND button, const SuperButtonState& state) {
  UnregisterDefaultButton(button);
  // An asynchronous sound plays from the record's bytes: stop it first.
  if (!state.record.click_sound.empty() || !state.record.over_sound.empty()) PlaySoundA(nullptr, nullptr, 0);
  FreeControlState<SuperButtonState>(button);
}

LRESULT CALLBACK SuperButtonProc(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
  SuperButtonState* state = ControlStateOf<SuperButtonState>(button);
  if (!state) return CallWindowProcA(g_button_procedure, button, message, wparam, lparam);
  switch (message) {
    case kReflectedDrawItem:
      return OnDrawItem(button, *state, *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    case kReflectedCommand:
      if (HIWORD(wparam) == BN_CLICKED || HIWORD(wparam) == BN_DOUBLECLICKED) OnClicked(button, *state);
      return 0;
    case WM_SETFONT:
    case WM_GETFONT:
      return OnFontMessage(button, message, wparam, lparam, state->font, state->window_font, nullptr);
    case WM_MOUSEMOVE:
      OnMouseMove(button, *state);
      break;
    case WM_MOUSELEAVE:
      OnMouseLeave(button, *state);
      break;
    case WM_DESTROY:
      if (state->tool_tip) DestroyWindow(state->tool_tip);
      state->tool_tip = nullptr;
      break;
    case WM_NCDESTROY: {
      const LRESULT result = CallWindowProcA(g_button_procedure, button, message, wparam, lparam);
      OnNcDestroy(button, *state);
      return result;
    }
    default:
      break;
  }
  return PassOnWithFocusEvents(g_button_procedure, button, message, wparam, lparam);
}

bool RegisterSuperButtonClass() {
  if (!g_button_procedure) g_button_procedure = SuperclassSystemControl("BUTTON", kSuperButtonClass, SuperButtonProc);
  return g_button_procedure != nullptr;
}

HWND CreateSuperButton(const ControlCreateInfo& info) {
  auto state = std::make_unique<SuperButtonState>();
  if (!ReadSuperButtonRecord(info.properties, info.property_size, &state->record)) return nullptr;
  if (!RegisterSuperButtonClass()) return nullptr;
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_BAR_CLASSES};
  InitCommonControlsEx(&common);

  const HWND button =
      CreateControlWindow(info, kSuperButtonClass, info.caption, WS_CLIPSIBLINGS | WS_TABSTOP | BS_OWNERDRAW);
  if (!button) return nullptr;
  state->window_font = info.font;
  state->font.Reset(FontFromStoredBlock(state->record.font));
  MakeButtonPictures(*state);
  SuperButtonState& kept = KeepControlState(button, std::move(state));
  UpdateButtonToolTip(button, kept);
  if (kept.record.default_button && !RegisterDefaultButton(button)) {
    DestroyWindow(button);
    return nullptr;
  }
  InvalidateRect(button, nullptr, FALSE);
  return button;
}

// Every property the button has shows in its look: a write repaints.
bool WriteAndRepaint(HWND button, SuperButtonState& state, int32_t property, uint32_t word0, uint32_t word1) {
  if (!WriteSuperButtonProperty(button, state, property, word0, word1)) return false;
  InvalidateRect(button, nullptr, FALSE);
  return true;
}

}  // namespace

const ControlType* SuperButtonControlType() {
  static const ControlType type =
      StateControlType<SuperButtonState, CreateSuperButton, ReadSuperButtonProperty, WriteAndRepaint>(
          kSuperButtonTypeId, "超级按钮");
  return &type;
}
