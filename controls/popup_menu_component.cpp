// The popup-menu component: a hidden child of its window that subclasses the
// window. When a popup menu of the window opens (WM_INITMENUPOPUP), its
// items become owner-drawn, each carrying its text in a record the component
// keeps; WM_MEASUREITEM and WM_DRAWITEM of those items are answered here.
// The menu's commands are untouched, so a chosen item still reaches the
// window as before. The window's system menu is left alone.
#include "controls/popup_menu_component.h"

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/gdi_holders.h"
#include "controls/stored_blocks.h"

namespace {

constexpr char kComponentClass[] = "TulvexMenuComponent";
constexpr UINT_PTR kSubclassId = 0x544D4E55;  // one component per window
constexpr int kTextMargin = 6;
constexpr int kSeparatorHeight = 7;

struct OwnedItem {
  std::string text;
  bool separator = false;
};

struct MenuComponentState {
  PopupMenuRecord record;
  HWND window = nullptr;        // the subclassed window
  HFONT window_font = nullptr;  // not owned
  OwnedFont font;
  // The item records of each menu converted, alive while the menu is.
  std::map<HMENU, std::vector<std::unique_ptr<OwnedItem>>> menus;

  HFONT ItemFont() const { return font ? font.get() : window_font; }
  COLORREF Color(MenuColor which) const {
    static const int kSystem[kMenuColorCount] = {COLOR_MENUTEXT, COLOR_MENU, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT,
                                                 COLOR_GRAYTEXT};
    return ResolveColour(record.colors[which], GetSysColor(kSystem[which]));
  }
  const OwnedItem* Find(ULONG_PTR data) const {
    for (const auto& menu : menus) {
      for (const auto& item : menu.second) {
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
      }
    }
    return nullptr;
  }
};

MenuComponentState* StateOf(HWND component) {
  return reinterpret_cast<MenuComponentState*>(GetWindowLongPtrA(component, GWLP_USERDATA));
}

void DropDestroyedMenus(MenuComponentState& state) {
  for (auto it = state.menus.begin(); it != state.menus.end();) {
    it = IsMenu(it->first) ? std::next(it) : state.menus.erase(it);
  }
}

// Makes each item of `menu` owner-drawn, keeping its text; items already
// converted (a menu shown again) keep their records.
void ConvertMenu(MenuComponentState& state, HMENU menu) {
  DropDestroyedMenus(state);
  const int count = GetMenuItemCount(menu);
  if (count <= 0) return;
  std::vector<std::unique_ptr<OwnedItem>> items;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_OWNERDRAW)) continue;
    auto item = std::make_unique<OwnedItem>();
    item->separator = (info.fType & MFT_SEPARATOR) != 0;
    if (!item->separator) {
      char text[512] = "";
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      item->text = text;
    }
    MENUITEMINFOA owner_drawn = {};
    owner_drawn.cbSize = sizeof owner_drawn;
    owner_drawn.fMask = MIIM_FTYPE | MIIM_DATA;
    owner_drawn.fType = (info.fType & ~static_cast<UINT>(MFT_STRING)) | MFT_OWNERDRAW;
    owner_drawn.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    // An item that cannot be converted stays the system's to draw.
    if (SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &owner_drawn)) items.push_back(std::move(item));
  }
  if (!items.empty()) {
    auto& kept = state.menus[menu];
    for (auto& item : items) kept.push_back(std::move(item));
  }
}

void OnMeasureItem(const MenuComponentState& state, const OwnedItem& item, MEASUREITEMSTRUCT& measure) {
  if (item.separator) {
    measure.itemWidth = 1;
    measure.itemHeight = kSeparatorHeight;
    return;
  }
  const HDC screen = GetDC(nullptr);
  SIZE text = {0, 0};
  {
    SelectedObject font(screen, state.ItemFont());
    GetTextExtentPoint32A(screen, item.text.c_str(), static_cast<int>(item.text.size()), &text);
  }
  ReleaseDC(nullptr, screen);
  measure.itemWidth = static_cast<UINT>(GetSystemMetrics(SM_CXMENUCHECK) + text.cx + 2 * kTextMargin);
  measure.itemHeight = state.record.item_height ? state.record.item_height : static_cast<UINT>(text.cy + 8);
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  OwnedBrush brush(CreateSolidBrush(color));
  if (brush) FillRect(dc, &rect, brush.get());
}

void OnDrawItem(const MenuComponentState& state, const OwnedItem& item, const DRAWITEMSTRUCT& draw) {
  RECT rect = draw.rcItem;
  const bool selected = (draw.itemState & ODS_SELECTED) && !item.separator;
  FillColor(draw.hDC, rect, state.Color(selected ? kMenuHighlight : kMenuBack));
  if (item.separator) {
    RECT line = {rect.left + kTextMargin, (rect.top + rect.bottom) / 2, rect.right - kTextMargin, 0};
    line.bottom = line.top + 1;
    FillColor(draw.hDC, line, state.Color(kMenuSeparator));
    return;
  }
  const int check_width = GetSystemMetrics(SM_CXMENUCHECK);
  if (draw.itemState & ODS_CHECKED) {
    RECT mark = {rect.left + 2, rect.top, rect.left + 2 + check_width, rect.bottom};
    DrawFrameControl(draw.hDC, &mark, DFC_MENU, DFCS_MENUCHECK);
  }
  const bool grayed = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  SetBkMode(draw.hDC, TRANSPARENT);
  SetTextColor(draw.hDC, grayed ? GetSysColor(COLOR_GRAYTEXT) : state.Color(selected ? kMenuHighlightText : kMenuText));
  SelectedObject font(draw.hDC, state.ItemFont());
  rect.left += check_width + kTextMargin;
  DrawTextA(draw.hDC, item.text.c_str(), static_cast<int>(item.text.size()), &rect,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_EXPANDTABS);
}

LRESULT CALLBACK WindowSubclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* state = reinterpret_cast<MenuComponentState*>(data);
  switch (message) {
    case WM_INITMENUPOPUP:
      if (HIWORD(lparam) == 0) ConvertMenu(*state, reinterpret_cast<HMENU>(wparam));
      break;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      const OwnedItem* item = measure->CtlType == ODT_MENU ? state->Find(measure->itemData) : nullptr;
      if (item) {
        OnMeasureItem(*state, *item, *measure);
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      const OwnedItem* item = draw->CtlType == ODT_MENU ? state->Find(draw->itemData) : nullptr;
      if (item) {
        OnDrawItem(*state, *item, *draw);
        return TRUE;
      }
      break;
    }
    default: break;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

LRESULT CALLBACK ComponentProc(HWND component, UINT message, WPARAM wparam, LPARAM lparam) {
  MenuComponentState* state = StateOf(component);
  if (!state) return DefWindowProcA(component, message, wparam, lparam);
  // The menus' items are drawn with the component's font.
  if (message == WM_SETFONT || message == WM_GETFONT)
    return OnFontMessage(component, message, wparam, lparam, state->font, state->window_font, nullptr);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(state->window, WindowSubclass, kSubclassId);
    SetWindowLongPtrA(component, GWLP_USERDATA, 0);
    delete state;
  }
  return DefWindowProcA(component, message, wparam, lparam);
}

bool RegisterComponentClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA component_class = {};
  component_class.lpfnWndProc = ComponentProc;
  component_class.hInstance = GetModuleHandleA(nullptr);
  component_class.lpszClassName = kComponentClass;
  registered = RegisterClassA(&component_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

// Never shown, whatever the template says: the component has no look.
HWND CreateComponent(const ControlCreateInfo& info) {
  auto state = std::make_unique<MenuComponentState>();
  if (!ReadPopupMenuRecord(info.properties, info.property_size, &state->record)) return nullptr;
  if (!RegisterComponentClass()) return nullptr;
  const HWND component = CreateWindowExA(0, kComponentClass, info.caption, WS_CHILD, 0, 0, 0, 0, info.parent,
                                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(info.control_id)),
                                         GetModuleHandleA(nullptr), nullptr);
  if (!component) return nullptr;
  state->window = info.parent;
  state->window_font = info.font;
  state->font.Reset(FontFromStoredBlock(state->record.font));
  if (!SetWindowSubclass(info.parent, WindowSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(state.get()))) {
    DestroyWindow(component);
    return nullptr;
  }
  SetWindowLongPtrA(component, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
  return component;
}

bool ReadComponent(ControlInstance& control, int32_t property, Value* value) {
  const MenuComponentState* state = StateOf(control.handle);
  if (!state) return false;
  if (property >= kMenuTextColor && property <= kMenuSeparatorColor) {
    *value = MakeInteger(static_cast<int32_t>(state->record.colors[property]));
    return true;
  }
  if (property == kMenuItemHeight) {
    *value = MakeInteger(static_cast<int32_t>(state->record.item_height));
    return true;
  }
  if (property == kMenuFont) {
    *value = NewByteSetValue(state->record.font);
    return true;
  }
  return false;
}

// Menus are built afresh each time they pop up, so a change shows next time.
bool WriteComponent(ControlInstance& control, int32_t property, uint32_t word0, uint32_t word1) {
  MenuComponentState* state = StateOf(control.handle);
  if (!state) return false;
  if (property >= kMenuTextColor && property <= kMenuSeparatorColor) {
    state->record.colors[property] = word0;
    return true;
  }
  if (property == kMenuItemHeight) {
    state->record.item_height = static_cast<int32_t>(word0) < 0 ? 0 : word0;
    return true;
  }
  if (property == kMenuFont) {
    state->record.font = BytesOfByteSetWords(word0, word1);
    state->font.Reset(FontFromStoredBlock(state->record.font));
    return true;
  }
  return false;
}

}  // namespace

bool ReadPopupMenuRecord(const uint8_t* bytes, size_t size, PopupMenuRecord* record) {
  *record = PopupMenuRecord();
  if (size == 0) return true;
  ByteCursor cursor(bytes, size);
  const uint32_t version = cursor.U32();
  if (!cursor.ok() || version != 0) return false;
  for (uint32_t& color : record->colors) color = cursor.U32();
  record->item_height = cursor.U32();
  ReadStoredBlock(cursor, &record->font);
  return cursor.AtEnd();
}

const ControlType* PopupMenuComponentControlType() {
  static const ControlType type = {kPopupMenuComponentTypeId, "超级菜单", false, CreateComponent, ReadComponent,
                                   WriteComponent};
  return &type;
}
