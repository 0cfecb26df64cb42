// The registry of control types: what a window template's type name stands
// for. A type makes its control when its window is loaded and reads and
// writes its own properties (numbered from 0, runtime/property_ids.h); the
// common properties (position, size, visibility, tag) are the runtime's.
// The standard controls register themselves at start-up; the control
// library registers its custom controls the same way before the start
// window is loaded.
//
// Part of the runtime's public surface (runtime/README.md).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/value.h"
// What a control library needs of the runtime beyond its types: raising
// events, the fatal error report, value memory, and a bounded cursor for
// reading stored property records, and the shared readers of the font,
// picture and colour values those records hold.
#include "runtime/process/runtime_error.h"
#include "runtime/values/memory.h"
#include "runtime/windows/colour_codes.h"
#include "runtime/windows/dispatch.h"
#include "runtime/windows/font_block.h"
#include "runtime/windows/picture_block.h"
#include "runtime/windows/templates/byte_cursor.h"

struct ControlTemplate;
struct ControlType;

// What a create entry is handed, once, when its window is loaded.
struct ControlCreateInfo {
  HWND parent;
  int left, top, width, height;  // client coordinates of the parent
  uint32_t window_id;
  uint32_t control_id;  // also the child window identifier (GWL_ID)
  const char* caption;  // GBK, never null
  bool visible;
  bool disabled;
  HFONT font;  // the window's font (owned by the window)
  const uint8_t* properties;  // the stored property record (read it with a ByteCursor)
  uint32_t property_size;
  bool checked;  // a check box starts checked
};

// One control of a loaded window, or the window itself (id 0).
struct ControlInstance {
  uint32_t window_id = 0;
  uint32_t id = 0;
  uint32_t parent_id = 0;
  const ControlType* type = nullptr;
  const ControlTemplate* source = nullptr;  // null for the window itself
  HWND handle = nullptr;  // null for windowless controls
  int32_t tag = 0;
  // The state of windowless controls (menus and menu items).
  std::string caption;
  bool visible = true;
  bool disabled = false;
  bool checked = false;
};

struct ControlType {
  uint32_t type_id;       // the tag of a control reference to this type
  const char* type_name;  // GBK, as the templates name it, e.g. "按钮"
  bool windowless;        // menus: no window, state kept in the instance
  // Makes the control's window (visible and enabled as the info says, with
  // `control_id` as its child identifier); null fails the window's load.
  HWND (*create)(const ControlCreateInfo& info);
  // The type's own properties; false when it has no property `property`.
  // A text read is a new heap block (NewTextValue); a text written arrives
  // as a lent pointer in the value words (TextOfWords: both words on 64-bit).
  bool (*read)(ControlInstance& control, int32_t property, Value* value);
  bool (*write)(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1);
};

// False when a type of that name is already registered. The type record
// must outlive the program (a static of its file).
bool RegisterControlType(const ControlType* type);
const ControlType* FindControlType(const std::string& type_name);

// Registers `name` as a copy of the system class `base` whose procedure is
// `procedure`, so that reflected messages reach it; returns the system
// class's procedure, which `procedure` passes everything on to (null when
// the class cannot be registered).
WNDPROC SuperclassSystemControl(const char* base, const char* name, WNDPROC procedure);

// Helpers for property code.
Value NewTextValue(const char* text, size_t length);  // empty: the null text
Value NewTextValue(const std::string& text);
std::string WindowTextOf(HWND window);

// The window of the control a control reference names (word0 the window
// identifier, word1 the control identifier); null when that window or
// control is not loaded. Callable from any thread.
HWND ControlWindowHandleOf(const Value& reference);

// The top-level windows of the program (runtime/windows/loaded_windows.h):
// modal dialogs of the libraries disable them while they run.
std::vector<HWND> LoadedTopLevelWindows();

// Reflection: a window hands WM_COMMAND, WM_NOTIFY and WM_DRAWITEM back to
// the control that sent them as kReflectBase + the message, same parameters;
// the control's result is the window's result.
constexpr UINT kReflectBase = WM_USER + 0x1C00;
constexpr UINT kReflectedCommand = kReflectBase + WM_COMMAND;
constexpr UINT kReflectedNotify = kReflectBase + WM_NOTIFY;
constexpr UINT kReflectedDrawItem = kReflectBase + WM_DRAWITEM;
