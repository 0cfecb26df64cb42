// The window template reader: a bounded cursor walks the stored form and
// every identifier and cross-reference is checked before it is kept.
#include "runtime/windows/templates/template_reader.h"

#include <cstring>
#include <set>
#include <utility>

#include "runtime/windows/templates/byte_cursor.h"

namespace {

// Smallest stored sizes, used to bound counts before reserving for them.
constexpr size_t kMinControlBytes = 4 + 4 + 4 + 4 + 4 + 16 + 4 + 4;
constexpr size_t kBindingBytes = 12;

TemplateRect ReadRect(ByteCursor& cursor) {
  TemplateRect rect;
  rect.left = cursor.I32();
  rect.top = cursor.I32();
  rect.width = cursor.I32();
  rect.height = cursor.I32();
  if (rect.width < 0 || rect.height < 0) cursor.Fail();
  return rect;
}

EventHandler Relocate(int32_t offset, uintptr_t code_base) {
  if (offset == -1) return nullptr;
  const uintptr_t address = code_base + static_cast<uintptr_t>(static_cast<uint32_t>(offset));
  return reinterpret_cast<EventHandler>(address);
}

bool ReadControl(ByteCursor& cursor, const std::set<uint32_t>& earlier, ControlTemplate* control) {
  control->type_name = cursor.Text();
  control->id = cursor.U32();
  control->parent_id = cursor.U32();
  control->name = cursor.Text();
  control->caption = cursor.Text();
  control->rect = ReadRect(cursor);
  control->flags = cursor.U32();
  const uint8_t* bytes;
  uint32_t length;
  if (!cursor.LengthPrefixed(&bytes, &length)) return false;
  control->properties.assign(bytes, bytes + length);

  if (control->type_name.empty()) return false;
  if (control->id == 0 || control->id > kMaxControlId || earlier.count(control->id)) return false;
  if (control->parent_id != 0 && !earlier.count(control->parent_id)) return false;
  return cursor.ok();
}

bool ReadWindow(ByteCursor& cursor, uintptr_t code_base, WindowTemplate* window) {
  window->id = cursor.U32();
  window->name = cursor.Text();
  window->caption = cursor.Text();
  window->rect = ReadRect(cursor);
  window->font.face = cursor.Text();
  window->font.points = cursor.I32();
  window->font.flags = cursor.U32();
  if (window->id == 0 || window->font.points < 0 || window->font.points > 1000) return false;

  const uint32_t control_count = cursor.U32();
  if (!cursor.CountFits(control_count, kMinControlBytes)) return false;
  std::set<uint32_t> ids;
  window->controls.resize(control_count);
  for (ControlTemplate& control : window->controls) {
    if (!ReadControl(cursor, ids, &control)) return false;
    ids.insert(control.id);
  }

  const uint32_t binding_count = cursor.U32();
  if (!cursor.CountFits(binding_count, kBindingBytes)) return false;
  window->bindings.resize(binding_count);
  for (EventBinding& binding : window->bindings) {
    binding.control_id = cursor.U32();
    binding.event = cursor.I32();
    binding.handler = Relocate(cursor.I32(), code_base);
    if (binding.control_id != 0 && !ids.count(binding.control_id)) return false;
  }
  return cursor.ok();
}

}  // namespace

const ControlTemplate* WindowTemplate::FindControl(uint32_t control_id) const {
  for (const ControlTemplate& control : controls) {
    if (control.id == control_id) return &control;
  }
  return nullptr;
}

EventHandler WindowTemplate::FindHandler(uint32_t control_id, int32_t event) const {
  for (const EventBinding& binding : bindings) {
    if (binding.control_id == control_id && binding.event == event) return binding.handler;
  }
  return nullptr;
}

bool ReadWindowTemplates(const void* data, size_t size, uintptr_t code_base,
                         std::vector<WindowTemplate>* windows) {
  ByteCursor cursor(data, size);
  const uint8_t* magic = cursor.Bytes(4);
  if (!magic || std::memcmp(magic, "TVWT", 4) != 0) return false;
  if (cursor.U32() != kTemplateFormatVersion) return false;

  // A window takes at least its id, the lengths of its three texts, its
  // rectangle, two font words and two counts.
  constexpr size_t kMinWindowBytes = 4 + 3 * 4 + 16 + 8 + 8;
  const uint32_t window_count = cursor.U32();
  if (!cursor.CountFits(window_count, kMinWindowBytes)) return false;

  std::vector<WindowTemplate> read(window_count);
  std::set<uint32_t> ids;
  for (WindowTemplate& window : read) {
    if (!ReadWindow(cursor, code_base, &window) || !ids.insert(window.id).second) return false;
  }
  if (!cursor.AtEnd()) return false;
  *windows = std::move(read);
  return true;
}
