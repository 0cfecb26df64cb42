// The owner-drawn button ("超级按钮", type 0x30001): a push button that draws
// itself flat, raised or in the themed look, with pictures for its normal,
// hot and disabled states, colours per state, sounds, a tool tip, a
// check-box mode and the default-button role. Its one event, 0 "被单击", is
// raised when it is clicked.
//
// Stored property record (little-endian; "block" is a u32 byte count then
// that many bytes, a count of 0 meaning "none"; "string" is a u32 byte count
// then the GBK bytes, no NUL; colours are 0x00BBGGRR words or the default
// code kDefaultColorCode):
//
//   offset  field
//   0       u32    version              0, 1 or 2; larger: the record is refused
//   4       u32    BtnStyle             0 flat, 1 raised (3D), 2 themed
//   8       u32    CheckBox             0/1
//   12      u32    Checked              0/1
//   16      u32    AlignStyle           0 picture left, 1 above, 2 right, 3 overlaid
//   20      u32    PressStyle           0 left to right, 1 top to bottom
//   24      u32    DrawBorder           0/1
//   28      u32    DrawFocus            0/1
//   32      block  PicOut               BMP file bytes
//   ..      u32    TransColorOut        default code: the picture's top-left pixel
//   ..      block  PicIn                none: the normal picture
//   ..      u32    TransColorIn
//   ..      block  font                 60 bytes in LOGFONTA order; none: the window's font
//   ..      u32    DefaultColor         0/1: the system colours instead of the six below
//   ..      24     six colours          FgColorOut, BkColorOut, FgColorIn, BkColorIn,
//                                       FgColorFocus, BkColorFocus (default code: system colour)
//   ..      u32    StandardSound        0/1
//   ..      block  OverSound            a WAV file's bytes
//   ..      block  ClickSound           a WAV file's bytes
//   ..      string ToolTip
//   ..      u32    DefaultStyle         0 normal, 1 default button
//   version 2 only, at the end:
//   ..      u32    TransColorDisabled
//   ..      block  PicDisabled          none: generated from the normal picture
//
// Versions 0 and 1 end after DefaultStyle and leave the disabled picture
// generated and its transparent colour at the default code. The caption is
// the template's caption. Nothing may follow the last field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/stored_blocks.h"
#include "runtime/control_types.h"

constexpr uint32_t kSuperButtonTypeId = 0x30001;
constexpr int32_t kSuperButtonClickedEvent = 0;

// Property numbers, in the order of the button's property list.
enum SuperButtonProperty : int32_t {
  kButtonStyleProperty = 0,        // integer 0..2
  kButtonCheckBoxProperty,         // logical
  kButtonCheckedProperty,          // logical
  kButtonAlignProperty,            // integer 0..3
  kButtonPressStyleProperty,       // integer 0..1
  kButtonDrawBorderProperty,       // logical
  kButtonDrawFocusProperty,        // logical
  kButtonPicOutProperty,           // byte set (BMP), write only
  kButtonTransColorOutProperty,    // integer colour
  kButtonPicInProperty,            // byte set (BMP), write only
  kButtonTransColorInProperty,     // integer colour
  kButtonPicDisabledProperty,      // byte set (BMP), write only
  kButtonTransColorDisabledProperty,
  kButtonFontProperty,             // byte set (font block), write only
  kButtonCaptionProperty,          // text
  kButtonDefaultColorProperty,     // logical
  kButtonFgColorOutProperty,       // integer colours, six in a row
  kButtonBkColorOutProperty,
  kButtonFgColorInProperty,
  kButtonBkColorInProperty,
  kButtonFgColorFocusProperty,
  kButtonBkColorFocusProperty,
  kButtonStandardSoundProperty,    // logical
  kButtonOverSoundProperty,        // byte set (WAV), write only
  kButtonClickSoundProperty,       // byte set (WAV), write only
  kButtonToolTipProperty,          // text
  kButtonDefaultStyleProperty,     // integer 0 normal, 1 default
};

enum class ButtonStyle : uint32_t { kFlat = 0, kRaised = 1, kThemed = 2, kLast = kThemed };
enum class PictureAlign : uint32_t { kLeft = 0, kAbove = 1, kRight = 2, kOverlaid = 3, kLast = kOverlaid };
// How the content moves while the button is held down.
enum PressStyle : uint32_t { kPressRightAndDown = 0, kPressDown = 1, kLastPressStyle = kPressDown };
enum DefaultStyle : uint32_t { kNormalButton = 0, kDefaultButton = 1, kLastDefaultStyle = kDefaultButton };

// The six state colours, in their stored order.
enum StateColor { kFgOut, kBkOut, kFgIn, kBkIn, kFgFocus, kBkFocus, kStateColorCount };

// The button's settings as the record stores them (pictures, font and
// sounds still as bytes; the window makes its objects from them).
struct SuperButtonRecord {
  ButtonStyle style = ButtonStyle::kThemed;
  bool check_box = false;
  bool checked = false;
  PictureAlign align = PictureAlign::kLeft;
  uint32_t press_style = kPressRightAndDown;
  bool draw_border = true;
  bool draw_focus = true;
  std::vector<uint8_t> picture_out, picture_in, picture_disabled;
  uint32_t transparent_out = kDefaultColorCode, transparent_in = kDefaultColorCode,
           transparent_disabled = kDefaultColorCode;
  std::vector<uint8_t> font;
  bool default_colors = true;
  uint32_t colors[kStateColorCount] = {kDefaultColorCode, kDefaultColorCode, kDefaultColorCode,
                                       kDefaultColorCode, kDefaultColorCode, kDefaultColorCode};
  bool standard_sound = false;
  std::vector<uint8_t> over_sound, click_sound;
  std::string tool_tip;
  bool default_button = false;
};

// Reads a stored record; false for an unknown version, a choice out of its
// range, a block or string running past the end, or bytes left over. An
// empty record gives the defaults above.
bool ReadSuperButtonRecord(const uint8_t* bytes, size_t size, SuperButtonRecord* record);

const ControlType* SuperButtonControlType();
