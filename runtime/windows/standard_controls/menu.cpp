// Popup menus ("菜单") and their items ("菜单项"): windowless controls whose
// state the runtime keeps; PopUpMenu builds the system menu from them each
// time it is shown. An item whose caption is "-" is a separator; an item
// with items of its own is a submenu. Choosing an item raises its event 0.
#include "runtime/property_ids.h"
#include "runtime/windows/standard_controls/standard_controls.h"
#include "runtime/windows/standard_controls/standard_types.h"

namespace {

bool ReadMenu(ControlInstance&, int32_t, Value*) { return false; }
bool WriteMenu(ControlInstance&, int32_t, uint32_t, uint32_t) { return false; }

bool ReadMenuItem(ControlInstance& item, int32_t property, Value* value) {
  switch (property) {
    case kMenuItemCaption:
      *value = NewTextValue(item.caption);
      return true;
    case kMenuItemDisabled:
      *value = MakeLogical(item.disabled);
      return true;
    case kMenuItemChecked:
      *value = MakeLogical(item.checked);
      return true;
    default:
      return false;
  }
}

bool WriteMenuItem(ControlInstance& item, int32_t property, uint32_t word0, uint32_t word1) {
  switch (property) {
    case kMenuItemCaption:
      item.caption = TextOfWords(word0, word1);
      return true;
    case kMenuItemDisabled:
      item.disabled = word0 != 0;
      return true;
    case kMenuItemChecked:
      item.checked = word0 != 0;
      return true;
    default:
      return false;
  }
}

}  // namespace

const ControlType* MenuControlType() {
  static const ControlType type = {kMenuTypeId, kMenuTypeName, true, nullptr, ReadMenu, WriteMenu};
  return &type;
}

const ControlType* MenuItemControlType() {
  static const ControlType type = {kMenuItemTypeId, kMenuItemTypeName, true, nullptr, ReadMenuItem,
                                   WriteMenuItem};
  return &type;
}
