// Notifications of the platform list view, reflected to the list by its
// window, become events raised through the runtime's dispatch.
#include "controls/report_list_events.h"

#include <commctrl.h>

#include <cstring>

#include "controls/control_window.h"
#include "controls/report_list.h"
#include "controls/report_list_commands.h"
#include "controls/report_list_state.h"
#include "runtime/control_types.h"

namespace controls {

namespace {

constexpr char kClassName[] = "TulvexReportList";
WNDPROC g_list_procedure = nullptr;

bool HasCheckBoxes(HWND list) {
  return (SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
}

// A click (or double click) on a row's check box: the state is read later,
// once the platform has toggled it.
void QueueCheckIfOnCheckBox(HWND list, POINT point) {
  if (!HasCheckBoxes(list)) return;
  LVHITTESTINFO hit = {};
  hit.pt = point;
  const auto row = static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0)
    PostMessageA(list, kCheckStateChangedMessage, static_cast<WPARAM>(row), 0);
}

void OnItemChanged(HWND list, const NMLISTVIEW& change) {
  const bool gained_focus = (change.uChanged & LVIF_STATE) != 0 && (change.uNewState & LVIS_FOCUSED) != 0 &&
                            (change.uOldState & LVIS_FOCUSED) == 0;
  if (gained_focus && change.iItem >= 0) RaiseControlEvent(list, kCurrentRowChangedEvent);
}

// Raised when hot tracking moves onto a row: once while the mouse stays on
// it, and again when the mouse comes back to it from no row.
void OnHotTrack(HWND list, ReportListState& state, const NMLISTVIEW& track) {
  const int32_t previous = state.hot_row;
  state.hot_row = track.iItem >= 0 ? track.iItem : -1;
  if (state.hot_row >= 0 && state.hot_row != previous) RaiseControlEvent(list, kHotRowChangedEvent, {track.iItem});
}

void OnClick(HWND list, const NMITEMACTIVATE& click, int32_t event) {
  if (event >= 0) RaiseControlEvent(list, event);
  QueueCheckIfOnCheckBox(list, click.ptAction);
}

void OnKeyDown(HWND list, const NMLVKEYDOWN& key) {
  if (key.wVKey != VK_SPACE || !HasCheckBoxes(list)) return;
  const auto row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, kBeforeFirstRow, LVNI_FOCUSED));
  if (row >= 0) PostMessageA(list, kCheckStateChangedMessage, static_cast<WPARAM>(row), 0);
}

// The logical answers of the label-edit handlers; without a handler the
// edit goes ahead.
constexpr int32_t kEditAllowed = 1;
constexpr int32_t kEditRefused = 0;

// TRUE cancels the edit: a handler that answers false.
LRESULT OnBeginLabelEdit(HWND list, const NMLVDISPINFOA& edit) {
  const int32_t answer = RaiseControlEvent(list, kLabelEditStartingEvent, {edit.item.iItem}, kEditAllowed);
  return answer == kEditRefused ? TRUE : FALSE;
}

// TRUE keeps the new text. A cancelled edit (no text) ends too: the handler
// sees an empty edited text, and its answer changes nothing.
LRESULT OnEndLabelEdit(HWND list, ReportListState& state, const NMLVDISPINFOA& edit) {
  const bool cancelled = edit.item.pszText == nullptr;
  state.edited_text = cancelled ? "" : edit.item.pszText;
  const int32_t answer = RaiseControlEvent(list, kLabelEditEndedEvent, {edit.item.iItem}, kEditAllowed);
  state.edited_text.clear();
  return !cancelled && answer != kEditRefused ? TRUE : FALSE;
}

void OnGetInfoTip(HWND list, const ReportListState& state, NMLVGETINFOTIPA& tip) {
  if (tip.pszText == nullptr || tip.cchTextMax <= 0) return;
  const auto id = static_cast<UINT>(SendMessageA(list, LVM_MAPINDEXTOID, static_cast<WPARAM>(tip.iItem), 0));
  const auto found = state.tips.find(id);
  if (found == state.tips.end()) return;
  const size_t room = static_cast<size_t>(tip.cchTextMax) - 1;
  const size_t length = found->second.size() < room ? found->second.size() : room;
  std::memcpy(tip.pszText, found->second.data(), length);
  tip.pszText[length] = '\0';
}

LRESULT OnNotify(HWND list, ReportListState& state, NMHDR* header) {
  switch (header->code) {
    case LVN_ITEMCHANGED: OnItemChanged(list, *reinterpret_cast<NMLISTVIEW*>(header)); return 0;
    case LVN_ITEMACTIVATE: RaiseControlEvent(list, kRowActivatedEvent); return 0;
    case LVN_COLUMNCLICK:
      RaiseControlEvent(list, kColumnHeaderClickedEvent, {reinterpret_cast<NMLISTVIEW*>(header)->iSubItem});
      return 0;
    case LVN_HOTTRACK: OnHotTrack(list, state, *reinterpret_cast<NMLISTVIEW*>(header)); return 0;
    case NM_CLICK: OnClick(list, *reinterpret_cast<NMITEMACTIVATE*>(header), kListClickedEvent); return 0;
    case NM_RCLICK: OnClick(list, *reinterpret_cast<NMITEMACTIVATE*>(header), kListRightClickedEvent); return 0;
    case NM_DBLCLK: OnClick(list, *reinterpret_cast<NMITEMACTIVATE*>(header), -1); return 0;
    case LVN_KEYDOWN: OnKeyDown(list, *reinterpret_cast<NMLVKEYDOWN*>(header)); return 0;
    case LVN_BEGINLABELEDITA: return OnBeginLabelEdit(list, *reinterpret_cast<NMLVDISPINFOA*>(header));
    case LVN_ENDLABELEDITA: return OnEndLabelEdit(list, state, *reinterpret_cast<NMLVDISPINFOA*>(header));
    case LVN_GETINFOTIPA: OnGetInfoTip(list, state, *reinterpret_cast<NMLVGETINFOTIPA*>(header)); return 0;
    case LVN_DELETEITEM: {
      // A deleted row's tip goes with it (0: a notification for each row
      // also when all rows are deleted).
      const int row = reinterpret_cast<NMLISTVIEW*>(header)->iItem;
      state.tips.erase(static_cast<UINT>(SendMessageA(list, LVM_MAPINDEXTOID, static_cast<WPARAM>(row), 0)));
      return 0;
    }
    default: return 0;
  }
}

void OnCheckStateChanged(HWND list, int row) {
  if (row < 0 || row >= static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) return;
  const auto bits = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
  const int32_t index = StateImageOfBits(bits);
  RaiseControlEvent(list, kCheckStateChangedEvent, {row, index});
}

LRESULT CALLBACK ReportListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  ReportListState* state = ControlStateOf<ReportListState>(list);
  if (message == kReflectedNotify && state) return OnNotify(list, *state, reinterpret_cast<NMHDR*>(lparam));
  if (message == kCheckStateChangedMessage) {
    OnCheckStateChanged(list, static_cast<int>(wparam));
    return 0;
  }
  // The mouse left the list: coming back onto the hot row enters it again.
  if (message == WM_MOUSELEAVE && state) state->hot_row = -1;
  if (message == kAppendRowsMessage) return AppendRowsOnListThread(list, lparam);
  // The check boxes' state images are made by the platform, which leaves
  // them to the owner of shared image lists.
  HIMAGELIST platform_states = nullptr;
  if (message == WM_NCDESTROY && state) {
    platform_states = reinterpret_cast<HIMAGELIST>(CallWindowProcA(g_list_procedure, list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    if (platform_states == state->state_images) platform_states = nullptr;
  }
  const LRESULT result = PassOnWithFocusEvents(g_list_procedure, list, message, wparam, lparam);
  if (platform_states) ImageList_Destroy(platform_states);
  // The list is gone with its window; the objects made from its record go too.
  if (message == WM_NCDESTROY) FreeControlState<ReportListState>(list);
  return result;
}

}  // namespace

const char* ReportListClassName() {
  if (g_list_procedure) return kClassName;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  g_list_procedure = SuperclassSystemControl(WC_LISTVIEWA, kClassName, ReportListProc);
  return g_list_procedure ? kClassName : nullptr;
}

}  // namespace controls
