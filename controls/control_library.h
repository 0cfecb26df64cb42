// The control library: its control types and its notification entry point,
// through which the runtime's start-up lets it register the types.
#pragma once

#include <cstdint>

#include "runtime/control_types.h"

const ControlType* ReportListControlType();           // "超级列表框", 0x30004
const ControlType* SuperButtonControlType();          // "超级按钮", 0x30001
const ControlType* HyperlinkControlType();            // "超级链接框", 0x30002
const ControlType* TransparentLabelControlType();     // "透明标签", 0x30003
const ControlType* PopupMenuComponentControlType();   // "超级菜单", 0x30005

// The library's notification entry (runtime/application_header.h): on
// start-up (code 1, arg1 the runtime's callback) it registers all five
// types; the result is the number registered.
uintptr_t ControlLibraryNotification(int32_t code, uintptr_t arg1, uintptr_t arg2);
