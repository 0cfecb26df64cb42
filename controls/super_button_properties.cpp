// The owner-drawn button's properties by number: integers and logicals from
// its settings, texts for caption and tool tip, byte sets for pictures,
// font and sounds.
#include <windows.h>
#include <mmsystem.h>

#include "controls/default_button.h"
#include "controls/stored_blocks.h"
#include "controls/super_button_state.h"

namespace {

// A picture property and its transparent colour's property, and the
// record's fields they stand for.
struct PictureProperties {
  int32_t picture;
  int32_t transparent;
  std::vector<uint8_t> SuperButtonRecord::*bytes;
  uint32_t SuperButtonRecord::*transparent_color;
};

constexpr PictureProperties kPictureProperties[] = {
    {kButtonPicOutProperty, kButtonTransColorOutProperty, &SuperButtonRecord::picture_out,
     &SuperButtonRecord::transparent_out},
    {kButtonPicInProperty, kButtonTransColorInProperty, &SuperButtonRecord::picture_in,
     &SuperButtonRecord::transparent_in},
    {kButtonPicDisabledProperty, kButtonTransColorDisabledProperty, &SuperButtonRecord::picture_disabled,
     &SuperButtonRecord::transparent_disabled},
};

const PictureProperties* PictureEntryOf(int32_t property) {
  for (const PictureProperties& entry : kPictureProperties)
    if (entry.picture == property || entry.transparent == property) return &entry;
  return nullptr;
}

bool IsStateColor(int32_t property) {
  return property >= kButtonFgColorOutProperty && property <= kButtonBkColorFocusProperty;
}

}  // namespace

bool ReadSuperButtonProperty(HWND button, const SuperButtonState& state, int32_t property, Value* value) {
  const SuperButtonRecord& record = state.record;
  if (IsStateColor(property)) {
    *value = MakeInteger(static_cast<int32_t>(record.colors[property - kButtonFgColorOutProperty]));
    return true;
  }
  if (const PictureProperties* entry = PictureEntryOf(property)) {
    *value = property == entry->picture ? NewByteSetValue(record.*entry->bytes)
                                        : MakeInteger(static_cast<int32_t>(record.*entry->transparent_color));
    return true;
  }
  switch (property) {
    case kButtonStyleProperty: *value = MakeInteger(static_cast<int32_t>(record.style)); return true;
    case kButtonCheckBoxProperty: *value = MakeLogical(record.check_box); return true;
    case kButtonCheckedProperty: *value = MakeLogical(record.checked); return true;
    case kButtonAlignProperty: *value = MakeInteger(static_cast<int32_t>(record.align)); return true;
    case kButtonPressStyleProperty: *value = MakeInteger(static_cast<int32_t>(record.press_style)); return true;
    case kButtonDrawBorderProperty: *value = MakeLogical(record.draw_border); return true;
    case kButtonDrawFocusProperty: *value = MakeLogical(record.draw_focus); return true;
    case kButtonFontProperty: *value = NewByteSetValue(record.font); return true;
    case kButtonCaptionProperty: *value = NewTextValue(WindowTextOf(button)); return true;
    case kButtonDefaultColorProperty: *value = MakeLogical(record.default_colors); return true;
    case kButtonStandardSoundProperty: *value = MakeLogical(record.standard_sound); return true;
    case kButtonOverSoundProperty: *value = NewByteSetValue(record.over_sound); return true;
    case kButtonClickSoundProperty: *value = NewByteSetValue(record.click_sound); return true;
    case kButtonToolTipProperty: *value = NewTextValue(record.tool_tip); return true;
    case kButtonDefaultStyleProperty:
      *value = MakeInteger(static_cast<int32_t>(record.default_button ? kDefaultButton : kNormalButton));
      return true;
    default: return false;
  }
}

bool WriteSuperButtonProperty(HWND button, SuperButtonState& state, int32_t property, uint32_t word0, uint32_t word1) {
  SuperButtonRecord& record = state.record;
  if (IsStateColor(property)) {
    record.colors[property - kButtonFgColorOutProperty] = word0;
    return true;
  }
  if (const PictureProperties* entry = PictureEntryOf(property)) {
    if (property == entry->picture) {
      record.*entry->bytes = BytesOfByteSetWords(word0, word1);
    } else {
      record.*entry->transparent_color = word0;
    }
    MakeButtonPictures(state);
    return true;
  }
  switch (property) {
    case kButtonStyleProperty:
      record.style = static_cast<ButtonStyle>(ClampedChoice(word0, static_cast<uint32_t>(ButtonStyle::kLast)));
      return true;
    case kButtonCheckBoxProperty: record.check_box = word0 != 0; return true;
    case kButtonCheckedProperty: record.checked = word0 != 0; return true;
    case kButtonAlignProperty:
      record.align = static_cast<PictureAlign>(ClampedChoice(word0, static_cast<uint32_t>(PictureAlign::kLast)));
      return true;
    case kButtonPressStyleProperty: record.press_style = ClampedChoice(word0, kLastPressStyle); return true;
    case kButtonDrawBorderProperty: record.draw_border = word0 != 0; return true;
    case kButtonDrawFocusProperty: record.draw_focus = word0 != 0; return true;
    case kButtonFontProperty:
      record.font = BytesOfByteSetWords(word0, word1);
      state.font.Reset(FontFromStoredBlock(record.font));
      return true;
    case kButtonCaptionProperty: SetWindowTextA(button, TextOfWords(word0, word1)); return true;
    case kButtonDefaultColorProperty: record.default_colors = word0 != 0; return true;
    case kButtonStandardSoundProperty: record.standard_sound = word0 != 0; return true;
    case kButtonOverSoundProperty:
    case kButtonClickSoundProperty:
      // The bytes of a sound may be playing: stop before they are replaced.
      PlaySoundA(nullptr, nullptr, 0);
      (property == kButtonOverSoundProperty ? record.over_sound : record.click_sound) = BytesOfByteSetWords(word0, word1);
      return true;
    case kButtonToolTipProperty:
      record.tool_tip = TextOfWords(word0, word1);
      UpdateButtonToolTip(button, state);
      return true;
    case kButtonDefaultStyleProperty: {
      const bool wanted = word0 != 0;
      if (wanted == record.default_button) return true;
      record.default_button = wanted && RegisterDefaultButton(button);
      if (!wanted) UnregisterDefaultButton(button);
      return true;
    }
    default: return false;
  }
}
