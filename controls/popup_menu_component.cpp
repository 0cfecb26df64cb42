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

#include "controls/control_window.h"
#include "controls/gdi_holders.h"
#include "controls/stored_blocks.h"

namespace {

constexpr char kComponentClass[] = "TulvexMenuComponent";
constexpr UINT_PTR kSubclassId = 0x544D4E55;  // one component per window
constexpr int kTextMargin = 6;
constexpr int kSeparatorHeight = 7;
constexpr size_t kMenuTextBytes = 512;  // an item's text, longer ones cut
constexpr int kItemPadding = 8;  // added to the text's height when the record gives none
constexpr int kCheckMarkInset = 2;
constexpr uint32_t kNewestVersion = 0;

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
  // The item an owner-draw message is about: null for a control's, or
  // for a menu item that is not one of ours.
  const OwnedItem* Find(UINT owner_draw_type, ULONG_PTR data) const {
    if (owner_draw_type != ODT_MENU) return nullptr;
    for (const auto& menu : menus) {
      for (const auto& item : menu.second) {
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
      }
    }
    return nullptr;
  }
};

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
      char text[kMenuTextBytes] = "";
      GetMenuStringA(menu, static_cast<UINT>(i), text, static_cast<int>(sizeof text), MF_BYPOSITION);
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

LRESULT OnMeasureItem(const MenuComponentState& state, const OwnedItem& item, MEASUREITEMSTRUCT& measure) {
  if (item.separator) {
    measure.itemWidth = 1;
    measure.itemHeight = kSeparatorHeight;
    return TRUE;
  }
  const HDC screen = GetDC(nullptr);
  SIZE text = {0, 0};
  {
    SelectedObject font(screen, state.ItemFont());
    GetTextExtentPoint32A(screen, item.text.c_str(), static_cast<int>(item.text.size()), &text);
  }
  ReleaseDC(nullptr, screen);
  measure.itemWidth = static_cast<UINT>(GetSystemMetrics(SM_CXMENUCHECK) + text.cx + 2 * kTextMargin);
  measure.itemHeight = state.record.item_height ? state.record.item_height : static_cast<UINT>(text.cy + kItemPadding);
  return TRUE;
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  OwnedBrush brush(CreateSolidBrush(color));
  if (brush) FillRect(dc, &rect, brush.get());
}

LRESULT OnDrawItem(const MenuComponentState& state, const OwnedItem& item, const DRAWITEMSTRUCT& draw) {
  RECT rect = draw.rcItem;
  const bool selected = (draw.itemState & ODS_SELECTED) && !item.separator;
  FillColor(draw.hDC, rect, state.Color(selected ? kMenuHighlight : kMenuBack));
  if (item.separator) {
    RECT line = {rect.left + kTextMargin, (rect.top + rect.bottom) / 2, rect.right - kTextMargin, 0};
    line.bottom = line.top + 1;
    FillColor(draw.hDC, line, state.Color(kMenuSeparator));
    return TRUE;
  }
  const int check_width = GetSystemMetrics(SM_CXMENUCHECK);
  if (draw.itemState & ODS_CHECKED) {
    RECT mark = {rect.left + kCheckMarkInset, rect.top, rect.left + kCheckMarkInset + check_width, rect.bottom};
    DrawFrameControl(draw.hDC, &mark, DFC_MENU, DFCS_MENUCHECK);
  }
  const bool grayed = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  SetBkMode(draw.hDC, TRANSPARENT);
  SetTextColor(draw.hDC, grayed ? GetSysColor(COLOR_GRAYTEXT) : state.Color(selected ? kMenuHighlightText : kMenuText));
  SelectedObject font(draw.hDC, state.ItemFont());
  rect.left += check_width + kTextMargin;
  DrawTextA(draw.hDC, item.text.c_str(), static_cast<int>(item.text.size()), &rect,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_EXPANDTABS);
  return TRUE;
}

LRESULT CALLBACK WindowSubclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* state = reinterpret_cast<MenuComponentState*>(data);
  switch (message) {
    case WM_INITMENUPOPUP:
      if (HIWORD(lparam) == 0) ConvertMenu(*state, reinterpret_cast<HMENU>(wparam));
      break;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (const OwnedItem* item = state->Find(measure->CtlType, measure->itemData))
        return OnMeasureItem(*state, *item, *measure);
      break;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (const OwnedItem* item = state->Find(draw->CtlType, draw->itemData)) return OnDrawItem(*state, *item, *draw);
      break;
    }
    default: break;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

LRESULT CALLBACK ComponentProc(HWND component, UINT message, WPARAM wparam, LPARAM lparam) {
  MenuComponentState* state = ControlStateOf<MenuComponentState>(component);
  if (!state) return DefWindowProcA(component, message, wparam, lparam);
  // The menus' items are drawn with the component's font.
  if (message == WM_SETFONT || message == WM_GETFONT)
    return OnFontMessage(component, message, wparam, lparam, state->font, state->window_font, nullptr);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(state->window, WindowSubclass, kSubclassId);
    FreeControlState<MenuComponentState>(component);
  }
  return DefWindowProcA(component, message, wparam, lparam);
}

// Never shown, whatever the template says: the component has no look.
HWND CreateComponent(const ControlCreateInfo& info) {
  auto state = std::make_unique<MenuComponentState>();
  if (!ReadPopupMenuRecord(info.properties, info.property_size, &state->record)) return nullptr;
  if (!RegisterControlClass(kComponentClass, ComponentProc, 0, nullptr)) return nullptr;
  ControlCreateInfo hidden = info;
  hidden.visible = hidden.disabled = false;
  hidden.left = hidden.top = hidden.width = hidden.height = 0;
  const HWND component = CreateControlWindow(hidden, kComponentClass, info.caption, 0);
  if (!component) return nullptr;
  state->window = info.parent;
  state->window_font = info.font;
  state->font.Reset(FontFromStoredBlock(state->record.font));
  if (!SetWindowSubclass(info.parent, WindowSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(state.get()))) {
    DestroyWindow(component);
    return nullptr;
  }
  KeepControlState(component, std::move(state));
  return component;
}

bool IsMenuColor(int32_t property) { return property >= kMenuTextColor && property <= kMenuSeparatorColor; }

bool ReadComponent(HWND, const MenuComponentState& state, int32_t property, Value* value) {
  if (IsMenuColor(property)) {
    *value = MakeInteger(static_cast<int32_t>(state.record.colors[property - kMenuTextColor]));
    return true;
  }
  switch (property) {
    case kMenuItemHeight: *value = MakeInteger(static_cast<int32_t>(state.record.item_height)); return true;
    case kMenuFont: *value = NewByteSetValue(state.record.font); return true;
    default: return false;
  }
}

// Menus are built afresh each time they pop up, so a change shows next time.
bool WriteComponent(HWND, MenuComponentState& state, int32_t property, uint32_t word0, uint32_t word1) {
  if (IsMenuColor(property)) {
    state.record.colors[property - kMenuTextColor] = word0;
    return true;
  }
  switch (property) {
    case kMenuItemHeight: state.record.item_height = static_cast<int32_t>(word0) < 0 ? 0 : word0; return true;
    case kMenuFont:
      state.record.font = BytesOfByteSetWords(word0, word1);
      state.font.Reset(FontFromStoredBlock(state.record.font));
      return true;
    default: return false;
  }
}

}  // namespace

bool ReadPopupMenuRecord(const uint8_t* bytes, size_t size, PopupMenuRecord* record) {
  return ReadVersionedRecord(bytes, size, kNewestVersion, record, [record](ByteCursor& cursor, uint32_t) {
    for (uint32_t& color : record->colors) color = cursor.U32();
    record->item_height = cursor.U32();
    ReadStoredBlock(cursor, &record->font);
  });
}

const ControlType* PopupMenuComponentControlType() {
  static const ControlType type = StateControlType<MenuComponentState, CreateComponent, ReadComponent, WriteComponent>(
      kPopupMenuComponentTypeId, "超级菜单");
  return &type;
}
