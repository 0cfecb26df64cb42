// The drop-down list ("组合框"): a system combo box of style
// CBS_DROPDOWNLIST; a change of the current item raises event 0.
// Stored property record: u32 item count, the items as zero-terminated
// texts, i32 initial selection (-1 none). An empty record: no items.
#include <string>
#include <vector>

#include "runtime/windows/dispatch.h"
#include "runtime/property_ids.h"
#include "runtime/windows/standard_controls/child_control.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/standard_controls/standard_types.h"
#include "runtime/windows/templates/byte_cursor.h"

namespace {

constexpr char kComboClass[] = "TulvexComboBox";
constexpr char kItemSeparator[] = "\r\n";
constexpr int kDropDownHeight = 160;  // the list below the field, in pixels
WNDPROC g_system_procedure = nullptr;

LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kReflectedCommand) {
    if (HIWORD(wparam) == CBN_SELCHANGE) RaiseControlEvent(combo, kComboBoxSelectionChangedEvent);
    return 0;
  }
  const LRESULT result = CallWindowProcA(g_system_procedure, combo, message, wparam, lparam);
  RaiseFocusEvents(combo, message);
  return result;
}

bool ReadItems(const ControlCreateInfo& info, std::vector<std::string>* items, int32_t* selection) {
  *selection = -1;
  if (info.property_size == 0) return true;
  ByteCursor record(info.properties, info.property_size);
  const uint32_t count = record.U32();
  if (!record.CountFits(count, 1)) return false;  // every item takes its NUL at least
  for (uint32_t i = 0; i < count && record.ok(); ++i) items->push_back(record.ZeroTerminated());
  *selection = record.I32();
  return record.AtEnd() && *selection >= -1 && *selection < static_cast<int32_t>(count);
}

HWND CreateComboBox(const ControlCreateInfo& info) {
  std::vector<std::string> items;
  int32_t selection;
  if (!ReadItems(info, &items, &selection)) return nullptr;
  if (!g_system_procedure) g_system_procedure = SuperclassSystemControl("COMBOBOX", kComboClass, ComboProc);
  if (!g_system_procedure) return nullptr;
  const HWND combo = CreateChildControl(kComboClass, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, info,
                                        info.height + kDropDownHeight);
  if (!combo) return nullptr;
  for (const std::string& item : items) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  return combo;
}

std::string ItemText(HWND combo, LRESULT index) {
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::string JoinedItems(HWND combo) {
  std::string joined;
  const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (i) joined += kItemSeparator;
    joined += ItemText(combo, i);
  }
  return joined;
}

void ReplaceItems(HWND combo, const std::string& joined) {
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  if (joined.empty()) return;
  size_t start = 0;
  for (;;) {
    const size_t end = joined.find(kItemSeparator, start);
    const std::string item = joined.substr(start, end == std::string::npos ? std::string::npos : end - start);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (end == std::string::npos) return;
    start = end + 2;
  }
}

bool ReadComboBox(ControlInstance& control, int32_t property, Value* value) {
  const HWND combo = control.handle;
  const LRESULT selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  switch (property) {
    case kComboBoxItems:
      *value = NewTextValue(JoinedItems(combo));
      return true;
    case kComboBoxSelection:
      *value = MakeInteger(selection == CB_ERR ? -1 : static_cast<int32_t>(selection));
      return true;
    case kComboBoxCurrentText:
      *value = NewTextValue(selection == CB_ERR ? std::string() : ItemText(combo, selection));
      return true;
    default:
      return false;
  }
}

bool WriteComboBox(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1) {
  const HWND combo = control.handle;
  switch (property) {
    case kComboBoxItems:
      ReplaceItems(combo, TextOfWords(word0, word1));
      return true;
    case kComboBoxSelection:
      // Anything outside the items clears the selection (CB_SETCURSEL -1).
      SendMessageA(combo, CB_SETCURSEL, static_cast<int32_t>(word0) < 0 ? static_cast<WPARAM>(-1) : word0, 0);
      return true;
    case kComboBoxCurrentText: {
      const LRESULT found = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(TextOfWords(word0, word1)));
      SendMessageA(combo, CB_SETCURSEL, found == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(found), 0);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

const ControlType* ComboBoxControlType() {
  static const ControlType type = {kComboBoxTypeId, kComboBoxTypeName, false, CreateComboBox, ReadComboBox,
                                   WriteComboBox};
  return &type;
}
