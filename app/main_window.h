// The main window's identifier and its controls' identifiers, as
// main_window.tvw numbers them (template order), and references to them.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace tulvex {

inline constexpr uint32_t kMainWindow = 0x52010001;

enum MainControl : uint32_t {
  kWindowItself = 0,
  kPopupMenuComponent = 1,  // 超级菜单1
  kCancelButton = 2,        // 按钮4 "取消"
  kAddMenu = 3,             // 菜单一
  kAddPicturesItem = 4,
  kAddFolderItem = 5,
  kRowMenu = 6,             // 菜单二
  kViewFileItem = 7,
  kViewFolderItem = 8,
  kRowMenuSeparator = 9,
  kAdvertisingItem = 10,
  kProgressBar = 11,        // 进度条1
  kOpenFolderButton = 12,   // 按钮3 "打开"
  kBrowseButton = 13,       // 按钮2 "浏览"
  kSaveFolderEdit = 14,     // 编辑框2
  kSaveModeCombo = 15,      // 组合框1
  kStartButton = 16,        // 按钮1 "开始转换"
  kQualityEdit = 17,        // 编辑框1
  kQualityLabel = 18,       // 透明标签2
  kJobList = 19,            // 超级列表框1
  kClearButton = 20,        // 超级按钮3 "清空"
  kDeleteButton = 21,       // 超级按钮2 "删除"
  kAddButton = 22,          // 超级按钮1 "添加"
  kToolRowLabel = 23,       // 透明标签1
  kWelcomeLink = 24,        // 超级链接框1
  kKeepDatesBox = 25,       // 选择框1 "保留文件日期"
};

// Type tags of control references (a reference names window and control).
inline constexpr uint32_t kJobListTypeTag = 0x30004;  // the report list
inline constexpr uint32_t kMenuReferenceTag = 0x10006;

inline Value JobListReference() { return Value{kMainWindow, kJobList, kJobListTypeTag}; }

}  // namespace tulvex
