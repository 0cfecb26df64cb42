// The report list ("超级列表框"): a multi-column list over the platform's
// list view. The platform control owns rows, cells and selection; this
// control makes it from its stored record (controls/report_list_record.h),
// turns its notifications into events and offers properties by number.
// Its commands are in controls/report_list_commands.h.
//
// Events (raised through the runtime's dispatch):
//   0 current row changed     1 row activated
//   2 column header clicked (column)
//   3 hot row changed (row): hot tracking moved onto a row, also onto the
//     same row again after the mouse was on no row or outside the list
//   4 clicked   5 right-clicked
//   6 label edit starting (row): a false handler result cancels the edit
//   7 label edit ended (row): the new text is property kListEditedText
//     during the handler; a false result rejects it. A cancelled edit
//     raises it too, with an empty edited text (nothing to reject).
//   8 check state changed (row, state-image index: 0 unchecked, 1 checked)
//  -7 / -8 gained / lost the input focus
#pragma once

#include <cstdint>

#include "runtime/control_types.h"

constexpr uint32_t kReportListTypeId = 0x30004;

// The list's properties, numbered in the order of its record's fields
// (the version is not a property). Logical unless noted.
enum ReportListProperty : int32_t {
  kListBorder = 0,             // integer 0..5
  kListTextColour = 1,         // integer RGB
  kListTextBackground = 2,     // integer colour or system-colour code
  kListBackground = 3,         // integer colour or system-colour code
  kListViewType = 4,           // integer 0..3
  kListIconAlignment = 5,      // integer: 1 aligns left
  kListAutoArrange = 6,
  kListWrapLabels = 7,
  kListHideHeader = 8,
  kListHeaderClickable = 9,
  kListFullRowSelect = 10,
  kListGridLines = 11,
  kListHeaderDragDrop = 12,
  kListHotTracking = 13,
  kListHandCursor = 14,
  kListUnderlineHot = 15,
  kListUnderlineCold = 16,
  kListLabelEditing = 17,
  kListSortOrder = 18,         // integer 0 none, 1 ascending, 2 descending
  kListCheckBoxes = 19,
  kListFlatScrollBars = 20,
  kListSingleSelection = 21,
  kListCurrentRow = 22,        // integer: the focused (else first selected) row, -1 none
  kListKeepSelectionVisible = 23,
  kListEditedText = 24,        // text, read only: the edited label during event 7
};

enum ReportListEvent : int32_t {
  kCurrentRowChangedEvent = 0,
  kRowActivatedEvent = 1,
  kColumnHeaderClickedEvent = 2,
  kHotRowChangedEvent = 3,
  kListClickedEvent = 4,
  kListRightClickedEvent = 5,
  kLabelEditStartingEvent = 6,
  kLabelEditEndedEvent = 7,
  kCheckStateChangedEvent = 8,
};

const ControlType* ReportListControlType();
