// Cross-process reads of list-view and tree-view items through memory placed
// in the owning process.
#include "tests/app/driver/remote_controls.h"

#include <cstring>

namespace {

constexpr size_t kTextCapacity = 1024;

bool SameWordSize(HANDLE process) {
  BOOL self_wow = FALSE, other_wow = FALSE;
  IsWow64Process(GetCurrentProcess(), &self_wow);
  IsWow64Process(process, &other_wow);
  return self_wow == other_wow;
}

// Sends a message whose parameter is an in/out record: the record and a text
// buffer travel in one remote block (record first, text after it).
template <typename Record>
bool ExchangeRecord(HWND control, HANDLE process, UINT message, WPARAM wparam, Record* record,
                    char** text_field, std::string* text, LRESULT* result) {
  RemoteBlock block(process, sizeof(Record) + kTextCapacity);
  if (!block.ok()) return false;
  char* remote_text = static_cast<char*>(block.address()) + sizeof(Record);
  if (text_field) *text_field = remote_text;
  const char empty = '\0';
  if (!block.Write(record, sizeof(Record)) || !block.Write(&empty, 1, sizeof(Record))) return false;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(control, message, wparam, reinterpret_cast<LPARAM>(block.address()),
                           SMTO_ABORTIFHUNG, 10000, &answer)) {
    return false;
  }
  if (result) *result = static_cast<LRESULT>(answer);
  if (!block.Read(record, sizeof(Record))) return false;
  if (text) {
    char buffer[kTextCapacity];
    if (!block.Read(buffer, sizeof buffer, sizeof(Record))) return false;
    buffer[kTextCapacity - 1] = '\0';
    *text = buffer;
  }
  return true;
}

}  // namespace

RemoteBlock::RemoteBlock(HANDLE process, size_t size)
    : process_(process),
      address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteBlock::~RemoteBlock() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBlock::Write(const void* bytes, size_t size, size_t offset) const {
  SIZE_T written = 0;
  return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, bytes, size, &written) &&
         written == size;
}

bool RemoteBlock::Read(void* bytes, size_t size, size_t offset) const {
  SIZE_T read = 0;
  return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, bytes, size, &read) && read == size;
}

ControlOwner::ControlOwner(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                         FALSE, process_id);
  if (!process_) {
    error_ = "cannot open the control's process: error " + std::to_string(GetLastError());
  } else if (!SameWordSize(process_)) {
    error_ = "the control's process has another pointer width than the driver";
    CloseHandle(process_);
    process_ = nullptr;
  }
}

ControlOwner::~ControlOwner() {
  if (process_) CloseHandle(process_);
}

bool ReadListViewRows(HWND list, int columns, std::vector<std::vector<std::string>>* rows, std::string* error) {
  rows->clear();
  ControlOwner owner(list);
  if (!owner.process()) {
    *error = owner.error();
    return false;
  }
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 10000, &count)) {
    *error = "the list does not answer LVM_GETITEMCOUNT";
    return false;
  }
  // One remote block for all cells: the record, then the text buffer.
  RemoteBlock block(owner.process(), sizeof(LVITEMA) + kTextCapacity);
  if (!block.ok()) {
    *error = "VirtualAllocEx failed: error " + std::to_string(GetLastError());
    return false;
  }
  char* remote_text = static_cast<char*>(block.address()) + sizeof(LVITEMA);
  for (DWORD_PTR row = 0; row < count; ++row) {
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column) {
      LVITEMA item = {};
      item.iSubItem = column;
      item.pszText = remote_text;
      item.cchTextMax = kTextCapacity;
      DWORD_PTR length = 0;
      char buffer[kTextCapacity];
      if (!block.Write(&item, sizeof item) ||
          !SendMessageTimeoutA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.address()),
                               SMTO_ABORTIFHUNG, 10000, &length) ||
          !block.Read(buffer, sizeof buffer, sizeof(LVITEMA))) {
        *error = "cannot read cell " + std::to_string(row) + "," + std::to_string(column);
        return false;
      }
      buffer[kTextCapacity - 1] = '\0';
      cells.emplace_back(buffer, length < kTextCapacity ? length : strlen(buffer));
    }
    rows->push_back(cells);
  }
  return true;
}

std::string ListViewCellText(HWND list, int row, int column) {
  ControlOwner owner(list);
  LVITEMA item = {};
  item.iSubItem = column;
  item.cchTextMax = kTextCapacity;
  std::string text;
  if (!owner.process() ||
      !ExchangeRecord(list, owner.process(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), &item, &item.pszText, &text,
                      nullptr)) {
    return std::string();
  }
  return text;
}

std::vector<int> SelectedListViewRows(HWND list) {
  std::vector<int> selected;
  int row = -1;
  while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0) {
    selected.push_back(row);
  }
  return selected;
}

bool ListViewCellRect(HWND list, int row, int column, RECT* rect) {
  ControlOwner owner(list);
  if (!owner.process()) return false;
  RECT record = {LVIR_LABEL, column, 0, 0};
  LRESULT answer = 0;
  if (!ExchangeRecord(list, owner.process(), LVM_GETSUBITEMRECT, row, &record, nullptr, nullptr, &answer) ||
      !answer) {
    return false;
  }
  *rect = record;
  return true;
}

std::string TreeItemText(HWND tree, HTREEITEM item) {
  ControlOwner owner(tree);
  if (!owner.process()) return {};
  TVITEMA record = {};
  record.mask = TVIF_TEXT;
  record.hItem = item;
  record.cchTextMax = kTextCapacity;
  std::string text;
  if (!ExchangeRecord(tree, owner.process(), TVM_GETITEMA, 0, &record, &record.pszText, &text, nullptr)) {
    return {};
  }
  return text;
}

std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> children;
  HTREEITEM child = reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
  while (child) {
    children.push_back(child);
    child = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
  }
  return children;
}

bool TreeItemRect(HWND tree, HTREEITEM item, RECT* rect) {
  ControlOwner owner(tree);
  if (!owner.process()) return false;
  // In: the item handle in the rectangle's first bytes; out: the rectangle.
  RECT record = {};
  static_assert(sizeof(HTREEITEM) <= sizeof(RECT), "an item handle fits the rectangle record");
  memcpy(&record, &item, sizeof item);
  LRESULT answer = 0;
  if (!ExchangeRecord(tree, owner.process(), TVM_GETITEMRECT, TRUE, &record, nullptr, nullptr, &answer) ||
      !answer) {
    return false;
  }
  *rect = record;
  return true;
}
