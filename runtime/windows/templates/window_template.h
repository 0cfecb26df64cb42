// The window templates as the runtime holds them after reading the template
// data of the program: one record per window with its controls, in template
// order, and the event bindings, with handler offsets already relocated.
//
// Stored form (little-endian; "text" is a 32-bit byte length followed by
// that many GBK bytes, no NUL):
//
//   "TVWT"                 magic
//   u32 version            1
//   u32 window count
//   per window:
//     u32  window id       non-zero, unique
//     text name, text caption
//     i32  left, top, width, height    outer rectangle in pixels
//     text font face       empty: the system's GUI font
//     i32  font size       points (0 with an empty face)
//     u32  font flags      bit 0 bold, bit 1 italic
//     u32  control count
//     per control, in creation order:
//       text type name     a registered control type, e.g. "按钮"
//       u32  control id    1..0xFFFF, unique in the window
//       u32  parent id     0 the window; else an earlier control (menu items
//                          name their menu or their parent item)
//       text name, text caption
//       i32  left, top, width, height  client coordinates of the window
//       u32  flags         bit 0 visible, bit 1 disabled, bit 2 checked
//                          (check boxes and menu items start checked)
//       u32  property byte count, then the stored property record
//     u32  binding count
//     per binding:
//       u32  control id    0 the window itself
//       i32  event number
//       i32  handler offset relative to the code base, -1 no handler
//
// Nothing may follow the last window. tools/compile_template.py writes this
// form from the readable template sources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/event_handler.h"

constexpr uint32_t kTemplateFormatVersion = 1;
constexpr uint32_t kMaxControlId = 0xFFFF;

enum ControlFlags : uint32_t {
  kControlVisible = 1u << 0,
  kControlDisabled = 1u << 1,
  kControlChecked = 1u << 2,
};

enum FontFlags : uint32_t {
  kFontBold = 1u << 0,
  kFontItalic = 1u << 1,
};

struct TemplateRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

struct FontTemplate {
  std::string face;  // empty: the system's GUI font
  int32_t points = 0;
  uint32_t flags = 0;
};

struct ControlTemplate {
  std::string type_name;
  uint32_t id = 0;
  uint32_t parent_id = 0;
  std::string name;
  std::string caption;
  TemplateRect rect;
  uint32_t flags = 0;
  std::vector<uint8_t> properties;  // handed to the control once, at creation
};

struct EventBinding {
  uint32_t control_id = 0;  // 0: the window
  int32_t event = 0;
  EventHandler handler = nullptr;  // null: no handler bound
};

struct WindowTemplate {
  uint32_t id = 0;
  std::string name;
  std::string caption;
  TemplateRect rect;
  FontTemplate font;
  std::vector<ControlTemplate> controls;
  std::vector<EventBinding> bindings;

  const ControlTemplate* FindControl(uint32_t control_id) const;
  EventHandler FindHandler(uint32_t control_id, int32_t event) const;
};
