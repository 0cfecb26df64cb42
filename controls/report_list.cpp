// The report list's creation from its stored record and its properties.
#include "controls/report_list.h"

#include <commctrl.h>

#include <memory>
#include <utility>
#include <vector>

#include "controls/border_styles.h"
#include "controls/control_window.h"
#include "controls/report_list_events.h"
#include "controls/report_list_record.h"
#include "controls/report_list_state.h"

namespace controls {

namespace {

// The hot row's cursor: the system hand, else the program's own hand
// resource, else the arrow; the arrow when the hand is not wanted.
void ApplyHotCursor(HWND list, bool hand) {
  HCURSOR cursor = nullptr;
  if (hand) {
    cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    if (!cursor) cursor = LoadCursorA(GetModuleHandleA(nullptr), "HAND");
  }
  if (!cursor) cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  SendMessageA(list, LVM_SETHOTCURSOR, 0, reinterpret_cast<LPARAM>(cursor));
}

void ApplyColours(HWND list, uint32_t text, const ReportListState& state) {
  SendMessageA(list, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text & 0x00FFFFFF));
  SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ResolveColour(state.text_background)));
  SendMessageA(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColour(state.background)));
  InvalidateRect(list, nullptr, TRUE);
}

void InsertColumns(HWND list, const std::vector<ColumnEntry>& columns) {
  for (size_t i = 0; i < columns.size(); ++i) {
    const ColumnEntry& entry = columns[i];
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = entry.alignment == kColumnCentred       ? LVCFMT_CENTER
                 : entry.alignment == kColumnRightAligned ? LVCFMT_RIGHT
                                                          : LVCFMT_LEFT;
    if (entry.image >= 0) {
      column.mask |= LVCF_IMAGE;
      column.fmt |= LVCFMT_IMAGE | (entry.image_on_right ? LVCFMT_BITMAP_ON_RIGHT : 0);
      column.iImage = entry.image;
    }
    column.cx = entry.width;
    column.pszText = const_cast<char*>(entry.text.c_str());
    column.iSubItem = static_cast<int>(i);
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

// An image index is kept only when its list exists and has that image.
int KeptImage(HWND list, int list_kind, int32_t index) {
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, list_kind, 0));
  return images && index >= 0 && index < ImageList_GetImageCount(images) ? index : -1;
}

void InsertInitialRows(HWND list, ReportListState& state, const std::vector<RowEntry>& rows, bool report_view) {
  const int image_kind = (GetWindowLongPtrA(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL;
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  int row = -1, column = 0;
  for (const RowEntry& entry : rows) {
    LVITEMA item = {};
    item.pszText = const_cast<char*>(entry.text.c_str());
    item.iImage = KeptImage(list, image_kind, entry.image);
    if (!entry.next_column) {
      item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | (report_view ? LVIF_INDENT : 0);
      item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
      item.lParam = entry.data;
      const int state_image = KeptImage(list, LVSIL_STATE, entry.state_image);
      if (state_image >= 0) {
        item.state = StateImageBits(state_image);
        item.stateMask = LVIS_STATEIMAGEMASK;
      }
      item.iIndent = entry.indent > 0 ? entry.indent : 0;
      row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
      column = 0;
      if (row >= 0 && !entry.tip.empty())
        state.tips[static_cast<UINT>(SendMessageA(list, LVM_MAPINDEXTOID, static_cast<WPARAM>(row), 0))] = entry.tip;
    } else if (row >= 0) {
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = row;
      item.iSubItem = ++column;
      SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
}

void SelectRow(HWND list, int32_t row) {
  LVITEMA clear = {};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, kEveryRow, reinterpret_cast<LPARAM>(&clear));
  if (row < 0) return;
  LVITEMA chosen = {};
  chosen.state = chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&chosen));
}

int32_t CurrentRow(HWND list) {
  auto row = static_cast<int32_t>(SendMessageA(list, LVM_GETNEXTITEM, kBeforeFirstRow, LVNI_FOCUSED));
  if (row < 0) row = static_cast<int32_t>(SendMessageA(list, LVM_GETNEXTITEM, kBeforeFirstRow, LVNI_SELECTED));
  return row;
}

// The font and image lists of the record, made before the window so that a
// block their readers refuse fails the creation with nothing left behind.
bool MakeRecordObjects(const ReportListRecord& record, ReportListState& state) {
  if (record.font.size != 0 && !(state.font = CreateFontFromBlock(record.font.bytes, record.font.size))) return false;
  const std::pair<const StoredBlock*, HIMAGELIST*> lists[] = {{&record.normal_images, &state.normal_images},
                                                              {&record.state_images, &state.state_images},
                                                              {&record.header_images, &state.header_images}};
  for (const auto& [block, images] : lists) {
    if (block->size != 0 && !(*images = CreateImageListFromBlock(block->bytes, block->size))) return false;
  }
  return true;
}

void AttachRecordObjects(HWND list, const ReportListState& state, const ReportListRecord& record, HFONT window_font) {
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(state.font ? state.font : window_font), FALSE);
  const bool large_icons = record.field(kFieldViewType) == kViewLargeIcons;
  if (state.normal_images)
    SendMessageA(list, LVM_SETIMAGELIST, large_icons ? LVSIL_NORMAL : LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(state.normal_images));
  if (state.state_images) {
    // With check boxes the platform made a state list of its own, which this
    // one replaces; shared lists are left to their owner, so it goes here.
    const auto replaced = reinterpret_cast<HIMAGELIST>(
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(state.state_images)));
    if (replaced && replaced != state.state_images) ImageList_Destroy(replaced);
  }
  if (state.header_images && record.field(kFieldViewType) == kViewReport) {
    ImageList_SetBkColor(state.header_images, ResolveColour(kDefaultBackgroundColour));
    const auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    if (header) SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(state.header_images));
  }
}

// A record that is too new or damaged fails the creation, and with it the
// load of the window (the runtime reports that failure).
HWND CreateReportList(const ControlCreateInfo& info) {
  ReportListRecord record;
  if (ReadReportListRecord(info.properties, info.property_size, &record) != RecordProblem::kNone) return nullptr;
  std::vector<ColumnEntry> columns;
  std::vector<RowEntry> rows;
  if (!ReadColumnEntries(record.columns, &columns) || !ReadRowEntries(record.rows, &rows)) return nullptr;
  auto state = std::make_unique<ReportListState>();  // the list's own from here on
  if (!MakeRecordObjects(record, *state)) return nullptr;

  const char* class_name = ReportListClassName();
  if (!class_name) return nullptr;
  const uint32_t border = record.field(kFieldBorder);
  const DWORD style = ListWindowStyle(record) | LVS_SHAREIMAGELISTS | BorderWindowStyle(border);
  const HWND list = CreateControlWindow(info, class_name, "", style, BorderExtendedStyle(border));
  if (!list) return nullptr;
  state->border = border;
  state->text_background = record.field(kFieldTextBackground);
  state->background = record.field(kFieldBackground);
  state->hand_cursor = record.flag(kFieldHandCursor);
  ReportListState& kept = KeepControlState(list, std::move(state));

  const DWORD extended = ListExtendedStyle(record);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  AttachRecordObjects(list, kept, record, info.font);
  ApplyColours(list, record.field(kFieldTextColour), kept);
  if (record.flag(kFieldHotTracking)) ApplyHotCursor(list, kept.hand_cursor);

  const bool report_view = record.field(kFieldViewType) == kViewReport;
  if (report_view) InsertColumns(list, columns);
  InsertInitialRows(list, kept, rows, report_view);
  const auto initial_row = static_cast<int32_t>(record.field(kFieldInitialRow));
  if (initial_row >= 0) SelectRow(list, initial_row);
  return list;
}

// --- properties -------------------------------------------------------------

// A logical property that is one group of style bits.
struct StyleProperty {
  int32_t property;
  bool list_extended;  // LVS_EX_* bits, else window style bits
  DWORD bits;
  bool inverted;  // the property is true when the bits are clear
};

constexpr StyleProperty kStyleProperties[] = {
    {kListIconAlignment, false, LVS_ALIGNLEFT, false},
    {kListAutoArrange, false, LVS_AUTOARRANGE, false},
    {kListWrapLabels, false, LVS_NOLABELWRAP, true},
    {kListHideHeader, false, LVS_NOCOLUMNHEADER, false},
    {kListHeaderClickable, false, LVS_NOSORTHEADER, true},
    {kListFullRowSelect, true, LVS_EX_FULLROWSELECT, false},
    {kListGridLines, true, LVS_EX_GRIDLINES, false},
    {kListHeaderDragDrop, true, LVS_EX_HEADERDRAGDROP, false},
    {kListHotTracking, true, LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE, false},
    {kListUnderlineHot, true, LVS_EX_UNDERLINEHOT, false},
    {kListUnderlineCold, true, LVS_EX_UNDERLINECOLD, false},
    {kListLabelEditing, false, LVS_EDITLABELS, false},
    {kListCheckBoxes, true, LVS_EX_CHECKBOXES, false},
    {kListFlatScrollBars, true, LVS_EX_FLATSB, false},
    {kListSingleSelection, false, LVS_SINGLESEL, false},
    {kListKeepSelectionVisible, false, LVS_SHOWSELALWAYS, false},
};

const StyleProperty* FindStyleProperty(int32_t property) {
  for (const StyleProperty& entry : kStyleProperties)
    if (entry.property == property) return &entry;
  return nullptr;
}

bool ReadStyle(HWND list, const StyleProperty& entry) {
  const DWORD bits = entry.list_extended ? static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0))
                                         : static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE));
  const bool set = (bits & entry.bits) == entry.bits;
  return set != entry.inverted;
}

void WriteStyle(HWND list, const StyleProperty& entry, bool truth) {
  const bool set = truth != entry.inverted;
  if (entry.list_extended) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, entry.bits, set ? entry.bits : 0);
    return;
  }
  LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE) & ~static_cast<LONG_PTR>(entry.bits);
  SetWindowLongPtrA(list, GWL_STYLE, style | (set ? static_cast<LONG_PTR>(entry.bits) : 0));
  InvalidateRect(list, nullptr, TRUE);
}

// Replaces the bits of `mask` in the window style by `bits`.
void WriteStyleField(HWND list, DWORD mask, DWORD bits) {
  const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE) & ~static_cast<LONG_PTR>(mask);
  SetWindowLongPtrA(list, GWL_STYLE, style | static_cast<LONG_PTR>(bits));
  InvalidateRect(list, nullptr, TRUE);
}

// The codes the view-type property reads and writes, in its order.
constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
static_assert(sizeof kViewStyles / sizeof kViewStyles[0] == kLastView + 1, "one style a view");

uint32_t ViewOfStyle(DWORD style) {
  for (uint32_t view = 0; view <= kLastView; ++view)
    if ((style & LVS_TYPEMASK) == kViewStyles[view]) return view;
  return kViewLargeIcons;
}

bool ReadReportList(HWND list, const ReportListState& state, int32_t property, Value* value) {
  if (const StyleProperty* entry = FindStyleProperty(property)) {
    const bool set = ReadStyle(list, *entry);
    *value = property == kListIconAlignment ? MakeInteger(static_cast<int32_t>(set ? kIconsAlignedLeft : 0))
                                            : MakeLogical(set);
    return true;
  }
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE));
  switch (property) {
    case kListBorder: *value = MakeInteger(static_cast<int32_t>(state.border)); return true;
    case kListTextColour:
      *value = MakeInteger(static_cast<int32_t>(SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0)));
      return true;
    case kListTextBackground: *value = MakeInteger(static_cast<int32_t>(state.text_background)); return true;
    case kListBackground: *value = MakeInteger(static_cast<int32_t>(state.background)); return true;
    case kListViewType: *value = MakeInteger(static_cast<int32_t>(ViewOfStyle(style))); return true;
    case kListSortOrder: {
      const uint32_t order = (style & LVS_SORTASCENDING)    ? kSortAscending
                             : (style & LVS_SORTDESCENDING) ? kSortDescending
                                                            : kUnsorted;
      *value = MakeInteger(static_cast<int32_t>(order));
      return true;
    }
    case kListHandCursor: *value = MakeLogical(state.hand_cursor); return true;
    case kListCurrentRow: *value = MakeInteger(CurrentRow(list)); return true;
    case kListEditedText: *value = NewTextValue(state.edited_text); return true;
    default: return false;
  }
}

bool WriteReportList(HWND list, ReportListState& state, int32_t property, uint32_t word0, uint32_t) {
  if (const StyleProperty* entry = FindStyleProperty(property)) {
    WriteStyle(list, *entry, word0 != 0);
    if (property == kListHotTracking && word0 != 0) ApplyHotCursor(list, state.hand_cursor);
    return true;
  }
  switch (property) {
    case kListBorder:
      state.border = word0;
      ApplyBorderStyle(list, word0);
      return true;
    case kListTextColour: ApplyColours(list, word0, state); return true;
    case kListTextBackground:
    case kListBackground: {
      (property == kListBackground ? state.background : state.text_background) = word0;
      ApplyColours(list, static_cast<uint32_t>(SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0)), state);
      return true;
    }
    case kListViewType:
      WriteStyleField(list, LVS_TYPEMASK, kViewStyles[word0 <= kLastView ? word0 : kViewLargeIcons]);
      return true;
    case kListSortOrder:
      WriteStyleField(list, LVS_SORTASCENDING | LVS_SORTDESCENDING,
                      word0 == kSortAscending    ? LVS_SORTASCENDING
                      : word0 == kSortDescending ? LVS_SORTDESCENDING
                                                 : 0);
      return true;
    case kListHandCursor:
      state.hand_cursor = word0 != 0;
      ApplyHotCursor(list, state.hand_cursor);
      return true;
    case kListCurrentRow: SelectRow(list, static_cast<int32_t>(word0)); return true;
    default: return false;  // the edited text is read only
  }
}

}  // namespace

}  // namespace controls

const ControlType* ReportListControlType() {
  using namespace controls;
  static const ControlType type =
      StateControlType<ReportListState, CreateReportList, ReadReportList, WriteReportList>(kReportListTypeId,
                                                                                           "超级列表框");
  return &type;
}
