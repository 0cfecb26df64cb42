// Reading common controls of another process. Messages whose parameters are
// pointers (LVM_GETITEMTEXTA, TVM_GETITEMA, TVM_GETITEMRECT) are not copied
// across processes by the window system: the item record and the text buffer
// are placed in the program's own memory with VirtualAllocEx and read back
// with ReadProcessMemory. The record layout is this process's, so the program
// must have the driver's pointer width (checked, never assumed).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// Memory in another process, freed with the holder.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, size_t size);
  ~RemoteBlock();
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return address_ != nullptr; }
  void* address() const { return address_; }
  bool Write(const void* bytes, size_t size, size_t offset = 0) const;
  bool Read(void* bytes, size_t size, size_t offset = 0) const;

 private:
  HANDLE process_;
  void* address_;
};

// An open handle of the process that owns `window`, with the rights the
// readers need; null (and `error` set) when it cannot be read by this driver.
class ControlOwner {
 public:
  explicit ControlOwner(HWND window);
  ~ControlOwner();
  ControlOwner(const ControlOwner&) = delete;
  ControlOwner& operator=(const ControlOwner&) = delete;

  HANDLE process() const { return process_; }
  const std::string& error() const { return error_; }

 private:
  HANDLE process_ = nullptr;
  std::string error_;
};

// Every row of a list view as cell texts (GBK), `columns` cells a row.
// False with `error` set when the list cannot be read.
bool ReadListViewRows(HWND list, int columns, std::vector<std::vector<std::string>>* rows, std::string* error);
// One cell's text; empty when it cannot be read.
std::string ListViewCellText(HWND list, int row, int column);
// Indices of the selected rows, ascending.
std::vector<int> SelectedListViewRows(HWND list);
// A cell's rectangle in the list's client coordinates (LVM_GETSUBITEMRECT).
bool ListViewCellRect(HWND list, int row, int column, RECT* rect);

// Tree view items.
std::string TreeItemText(HWND tree, HTREEITEM item);
std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent);  // null parent = roots
// The item's text rectangle in the tree's client coordinates.
bool TreeItemRect(HWND tree, HTREEITEM item, RECT* rect);
