// Read and write one item of a settings (INI) file.
#include <windows.h>

#include "runtime/core_commands.h"
#include "runtime/core_commands/arguments.h"
#include "runtime/values/texts.h"

namespace {

constexpr DWORD kItemBufferBytes = 10240;

// Leading control characters and spaces (codes up to 32) are not part of a
// file, section or key name.
const char* SkipLeadingBlanks(const char* text) {
  while (*text && static_cast<unsigned char>(*text) <= 32) ++text;
  return text;
}

}  // namespace

// (file name, section, key, default text (optional)). An empty file name,
// section or key gives "" without reading the file.
void ReadSettingsItem(Value* result, int32_t count, const Value* args) {
  const char* file = SkipLeadingBlanks(core::TextArgument(count, args, 0));
  const char* section = SkipLeadingBlanks(core::TextArgument(count, args, 1));
  const char* key = SkipLeadingBlanks(core::TextArgument(count, args, 2));
  const char* fallback = core::TextArgument(count, args, 3);
  if (!*file || !*section || !*key) {
    *result = OwnTextValue(nullptr);
    return;
  }
  static thread_local char buffer[kItemBufferBytes];
  const DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer, kItemBufferBytes, file);
  *result = OwnTextValue(CopyTextBytes(buffer, length));
}

// (file name, section, key (optional), value (optional)): an absent key
// removes the section, an absent value the key. An empty file name or
// section writes nothing and answers false: the system would take an empty
// file name for its own settings file.
void WriteSettingsItem(Value* result, int32_t count, const Value* args) {
  const char* file = core::TextArgument(count, args, 0);
  const char* section = core::TextArgument(count, args, 1);
  const char* key = core::IsPresent(count, args, 2) ? core::TextArgument(count, args, 2) : nullptr;
  const char* value = core::IsPresent(count, args, 3) ? core::TextArgument(count, args, 3) : nullptr;
  const bool written = *file && *section && WritePrivateProfileStringA(section, key, value, file) != 0;
  *result = MakeLogical(written);
}
