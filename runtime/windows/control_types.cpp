// The control type registry and small helpers shared by the control types.
#include "runtime/control_types.h"

#include <cstring>
#include <map>

#include "runtime/values/memory.h"
#include "runtime/windows/properties.h"

namespace {

std::map<std::string, const ControlType*>& Registry() {
  static std::map<std::string, const ControlType*> registry;
  return registry;
}

}  // namespace

bool RegisterControlType(const ControlType* type) {
  return type && type->type_name && Registry().emplace(type->type_name, type).second;
}

const ControlType* FindControlType(const std::string& type_name) {
  const auto found = Registry().find(type_name);
  return found == Registry().end() ? nullptr : found->second;
}

Value NewTextValue(const char* text, size_t length) {
  Value value{0, 0, kTagText};
  if (length == 0) return value;
  auto* copy = static_cast<char*>(AllocateMemory(static_cast<uint32_t>(length + 1)));
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  StorePointer(value, copy);
  return value;
}

Value NewTextValue(const std::string& text) { return NewTextValue(text.data(), text.size()); }

std::string WindowTextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

HWND ControlWindowHandleOf(const Value& reference) {
  return reinterpret_cast<HWND>(ControlWindowHandle(reference.word0, reference.word1));
}
