// Reading the report list's stored record and turning its fields into
// platform styles. Every read goes through a bounded cursor: a record that
// ends early, or a block that claims more bytes than are left, is damaged.
#include "controls/report_list_record.h"

#include <commctrl.h>

#include <utility>

#include "runtime/control_types.h"

namespace controls {

namespace {

bool ReadBlock(ByteCursor& cursor, StoredBlock* block) {
  return cursor.LengthPrefixed(&block->bytes, &block->size);
}

// The entries of a block, each read by `read_entry` from the cursor, one
// after the other up to the block's end; false when one runs past it.
template <typename Entry, typename ReadEntry>
bool ReadEntries(const StoredBlock& block, std::vector<Entry>* entries, ReadEntry read_entry) {
  ByteCursor cursor(block.bytes, block.size);
  while (cursor.ok() && !cursor.AtEnd()) {
    Entry entry = read_entry(cursor);
    if (cursor.ok()) entries->push_back(std::move(entry));
  }
  return cursor.ok();
}

}  // namespace

RecordProblem ReadReportListRecord(const uint8_t* bytes, size_t size, ReportListRecord* record) {
  ByteCursor cursor(bytes, size);
  for (uint32_t& field : record->fields) field = cursor.U32();
  if (!cursor.ok()) return RecordProblem::kDamaged;
  if (record->field(kFieldVersion) > kNewestReportListVersion) return RecordProblem::kTooNew;
  ReadBlock(cursor, &record->font);
  ReadBlock(cursor, &record->header_images);
  ReadBlock(cursor, &record->normal_images);
  ReadBlock(cursor, &record->columns);
  ReadBlock(cursor, &record->state_images);
  ReadBlock(cursor, &record->rows);
  return cursor.AtEnd() ? RecordProblem::kNone : RecordProblem::kDamaged;
}

bool ReadColumnEntries(const StoredBlock& block, std::vector<ColumnEntry>* columns) {
  return ReadEntries(block, columns, [](ByteCursor& cursor) {
    ColumnEntry column;
    column.image_on_right = cursor.U8() != 0;
    column.image = cursor.I32();
    column.alignment = cursor.I32();
    column.width = cursor.I32();
    column.text = cursor.ZeroTerminated();
    return column;
  });
}

bool ReadRowEntries(const StoredBlock& block, std::vector<RowEntry>* rows) {
  return ReadEntries(block, rows, [](ByteCursor& cursor) {
    RowEntry row;
    row.next_column = cursor.U8() != 0;
    row.image = cursor.I32();
    row.state_image = cursor.I32();
    row.indent = cursor.I32();
    row.data = cursor.I32();
    row.text = cursor.ZeroTerminated();
    row.tip = cursor.ZeroTerminated();
    return row;
  });
}

DWORD ListWindowStyle(const ReportListRecord& record) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
  switch (record.field(kFieldViewType)) {
    case kViewSmallIcons: style |= LVS_SMALLICON; break;
    case kViewList: style |= LVS_LIST; break;
    case kViewReport: style |= LVS_REPORT; break;
    default: style |= LVS_ICON; break;
  }
  const uint32_t view = record.field(kFieldViewType);
  if (view == kViewLargeIcons || view == kViewSmallIcons) {
    if (record.field(kFieldIconAlignment) == kIconsAlignedLeft) style |= LVS_ALIGNLEFT;
    if (record.flag(kFieldAutoArrange)) style |= LVS_AUTOARRANGE;
    if (!record.flag(kFieldWrapLabels)) style |= LVS_NOLABELWRAP;
  } else if (view == kViewReport) {
    if (record.flag(kFieldHideHeader)) {
      style |= LVS_NOCOLUMNHEADER;
    } else if (!record.flag(kFieldHeaderClickable)) {
      style |= LVS_NOSORTHEADER;
    }
  }
  if (record.flag(kFieldLabelEditing)) style |= LVS_EDITLABELS;
  if (record.field(kFieldSortOrder) == kSortAscending) style |= LVS_SORTASCENDING;
  if (record.field(kFieldSortOrder) == kSortDescending) style |= LVS_SORTDESCENDING;
  if (record.flag(kFieldSingleSelection)) style |= LVS_SINGLESEL;
  if (record.flag(kFieldKeepSelectionVisible)) style |= LVS_SHOWSELALWAYS;
  return style;
}

DWORD ListExtendedStyle(const ReportListRecord& record) {
  DWORD style = LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES;
  if (record.field(kFieldViewType) == kViewReport) {
    if (record.flag(kFieldFullRowSelect)) style |= LVS_EX_FULLROWSELECT;
    if (record.flag(kFieldGridLines)) style |= LVS_EX_GRIDLINES;
    if (record.flag(kFieldHeaderDragDrop) && !record.flag(kFieldHideHeader))
      style |= LVS_EX_HEADERDRAGDROP;
  }
  if (record.flag(kFieldCheckBoxes)) style |= LVS_EX_CHECKBOXES;
  if (record.flag(kFieldFlatScrollBars)) style |= LVS_EX_FLATSB;
  if (record.flag(kFieldHotTracking)) {
    style |= LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE;
    if (record.flag(kFieldUnderlineHot)) style |= LVS_EX_UNDERLINEHOT;
    if (record.flag(kFieldUnderlineCold)) style |= LVS_EX_UNDERLINECOLD;
  }
  return style;
}

}  // namespace controls
