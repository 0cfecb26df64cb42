// The runtime's own control types: the window itself, button, edit box,
// drop-down list, progress bar, popup menu, menu item and check box, with
// their type identifiers and the events they raise.
#pragma once

#include <cstdint>

struct LoadedWindow;

// Type identifiers (the tag of a control reference to such a control).
enum StandardControlTypeId : uint32_t {
  kWindowTypeId = 0x10001,
  kButtonTypeId = 0x10002,
  kEditBoxTypeId = 0x10003,
  kComboBoxTypeId = 0x10004,
  kProgressBarTypeId = 0x10005,
  kMenuTypeId = 0x10006,
  kMenuItemTypeId = 0x10007,
  kCheckBoxTypeId = 0x10008,
};

// Type names as window templates write them (GBK at run time).
constexpr char kWindowTypeName[] = "窗口";
constexpr char kButtonTypeName[] = "按钮";
constexpr char kEditBoxTypeName[] = "编辑框";
constexpr char kComboBoxTypeName[] = "组合框";
constexpr char kProgressBarTypeName[] = "进度条";
constexpr char kMenuTypeName[] = "菜单";
constexpr char kMenuItemTypeName[] = "菜单项";
constexpr char kCheckBoxTypeName[] = "选择框";

// Events.
constexpr int32_t kWindowCreatedEvent = 0;      // after the controls are made
constexpr int32_t kWindowSizeChangedEvent = 1;  // new outer width, height
constexpr int32_t kButtonClickedEvent = 0;
constexpr int32_t kComboBoxSelectionChangedEvent = 0;
constexpr int32_t kMenuItemChosenEvent = 0;
constexpr int32_t kCheckBoxClickedEvent = 0;  // the user turned it on or off

// Registers all of the above (start-up, once).
void RegisterStandardControlTypes();

// Makes the top-level window of a window being loaded, owned by the hidden
// owner window; its procedure reflects control messages back to the
// controls and raises the window's events.
bool CreateApplicationWindow(LoadedWindow* window);
