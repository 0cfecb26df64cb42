// The report list's window procedure: reflected notifications of the
// platform list view become the list's events (controls/report_list.h).
#pragma once

#include <windows.h>

namespace controls {

// The list's window class, a superclass of the platform list view; null
// when it cannot be registered.
const char* ReportListClassName();

// Posted to the list for a row whose check box may have changed; the state
// is read when it arrives, after the platform has toggled it.
constexpr UINT kCheckStateChangedMessage = WM_APP + 0x40;

}  // namespace controls
