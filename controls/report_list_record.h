// The stored property record of the report list, read once when the list
// is made, and the platform styles its fields stand for.
//
// Record, little-endian, byte by byte:
//   25 x u32/i32, in this order (default in brackets):
//     0 version (0 or 1; anything larger refuses the record)
//     1 border: 0 none, 1 sunken, 2 raised, 3 shallow sunken, 4 frame,
//       5 single line [1]
//     2 text colour, RGB 0x00BBGGRR [0]
//     3 text background colour, colour or system-colour code [0xFFFFFF]
//     4 background colour, colour or system-colour code [0xFFFFFF]
//     5 view type: 0 large icons, 1 small icons, 2 list, 3 report [0]
//     6 icon alignment, icon views: 1 aligns left [0]
//     7 auto arrange, icon views [1]
//     8 wrap labels, icon views [1]
//     9 hide column header, report view [0]
//    10 header clickable, report view [1]
//    11 full-row select, report view [0]
//    12 grid lines, report view [0]
//    13 header drag and drop, report view with header [0]
//    14 hot tracking [0]
//    15 hand cursor on the hot row, with hot tracking [1]
//    16 underline the hot row, with hot tracking [1]
//    17 underline the other rows, with hot tracking [1]
//    18 label editing [0]
//    19 sort order: 0 none, 1 ascending, 2 descending [0]
//    20 check boxes [0]
//    21 flat scroll bars [0]
//    22 single selection [1]
//    23 initial current row, -1 none [-1]
//    24 keep the selection visible [0]
//   six blocks, each u32 length then that many bytes (0: absent), in order:
//     font (runtime/windows/font_block.h), header image list, normal image
//     list (both runtime/windows/picture_block.h), columns, state image
//     list, initial rows.
//   Nothing may follow the last block. A font or image-list block that its
//   reader refuses makes the whole record damaged, like a block that runs
//   past the end; a damaged or too new record fails the list's creation.
//
// A column entry: u8 header image on the right of the text (non-zero),
//   i32 image index (-1 none), i32 alignment (0 left, 1 centre, 2 right),
//   i32 width in pixels, header text GBK and NUL. Entries follow each other.
// An initial-row entry: u8 (0 starts a new row, non-zero is the next column
//   of the current row), i32 image index, i32 state-image index, i32 indent,
//   i32 item data, cell text GBK and NUL, tip text GBK and NUL (the tip of a
//   row's first entry is the row's info tip).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace controls {

constexpr int kReportListFieldCount = 25;
constexpr uint32_t kNewestReportListVersion = 1;

// Field numbers of the record's words.
enum ReportListField : int {
  kFieldVersion, kFieldBorder, kFieldTextColour, kFieldTextBackground, kFieldBackground,
  kFieldViewType, kFieldIconAlignment, kFieldAutoArrange, kFieldWrapLabels, kFieldHideHeader,
  kFieldHeaderClickable, kFieldFullRowSelect, kFieldGridLines, kFieldHeaderDragDrop,
  kFieldHotTracking, kFieldHandCursor, kFieldUnderlineHot, kFieldUnderlineCold,
  kFieldLabelEditing, kFieldSortOrder, kFieldCheckBoxes, kFieldFlatScrollBars,
  kFieldSingleSelection, kFieldInitialRow, kFieldKeepSelectionVisible,
};

enum ReportListView : uint32_t {
  kViewLargeIcons = 0, kViewSmallIcons = 1, kViewList = 2, kViewReport = 3, kLastView = kViewReport,
};
enum ReportListSortOrder : uint32_t { kUnsorted = 0, kSortAscending = 1, kSortDescending = 2 };
// The icon alignment's one code that means anything; others leave the
// platform's alignment.
constexpr uint32_t kIconsAlignedLeft = 1;
enum ColumnAlignment : int32_t { kColumnLeftAligned = 0, kColumnCentred = 1, kColumnRightAligned = 2 };

// A block of the record, in place in the template's bytes.
struct StoredBlock {
  const uint8_t* bytes = nullptr;
  uint32_t size = 0;
};

struct ReportListRecord {
  uint32_t fields[kReportListFieldCount] = {};
  StoredBlock font, header_images, normal_images, columns, state_images, rows;

  uint32_t field(ReportListField f) const { return fields[f]; }
  bool flag(ReportListField f) const { return fields[f] != 0; }
};

struct ColumnEntry {
  bool image_on_right = false;
  int32_t image = -1;
  int32_t alignment = kColumnLeftAligned;
  int32_t width = 0;
  std::string text;
};

struct RowEntry {
  bool next_column = false;  // false: the entry starts a new row
  int32_t image = -1;
  int32_t state_image = -1;
  int32_t indent = 0;
  int32_t data = 0;
  std::string text;
  std::string tip;
};

enum class RecordProblem { kNone, kTooNew, kDamaged };

// Reads the record; anything but kNone leaves `record` unusable.
RecordProblem ReadReportListRecord(const uint8_t* bytes, size_t size, ReportListRecord* record);

// The entries of the columns and rows blocks; false when an entry runs past
// its block.
bool ReadColumnEntries(const StoredBlock& block, std::vector<ColumnEntry>* columns);
bool ReadRowEntries(const StoredBlock& block, std::vector<RowEntry>* rows);

// The window styles and the list's extended styles the record's fields
// stand for (the border's: controls/border_styles.h).
DWORD ListWindowStyle(const ReportListRecord& record);
DWORD ListExtendedStyle(const ReportListRecord& record);

}  // namespace controls
