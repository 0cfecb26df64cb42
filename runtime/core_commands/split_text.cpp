// Split text: the parts of a text between separators, as a one-dimensional
// array of texts.
#include <cstring>
#include <vector>

#include "runtime/values/arrays.h"
#include "runtime/core_commands.h"
#include "runtime/core_commands/arguments.h"
#include "runtime/values/texts.h"

namespace {

struct Part {
  uint32_t offset;
  uint32_t length;
};

// The parts in order, at most `limit` of them (negative: no limit).
std::vector<Part> FindParts(const char* text, const char* separator, int64_t limit) {
  std::vector<Part> parts;
  const uint32_t length = TextLength(text);
  const uint32_t separator_length = TextLength(separator);
  if (length == 0 || limit == 0) return parts;
  if (separator_length == 0) {
    parts.push_back({0, length});
    return parts;
  }
  uint32_t from = 0;
  while (limit < 0 || static_cast<int64_t>(parts.size()) < limit) {
    const int64_t at = FindTextBytes(text, length, separator, separator_length, from, false);
    if (at < 0) {
      // What follows the last separator counts only when it is not empty.
      if (from < length) parts.push_back({from, length - from});
      break;
    }
    parts.push_back({from, static_cast<uint32_t>(at) - from});
    from = static_cast<uint32_t>(at) + separator_length;
  }
  return parts;
}

}  // namespace

// (text, separator (optional), maximum count (optional; negative counts as
// 0, absent means unlimited)).
void SplitText(Value* result, int32_t count, const Value* args) {
  const char* text = core::TextArgument(count, args, 0);
  const char* separator =
      core::IsPresent(count, args, 1) ? core::TextArgument(count, args, 1) : kDefaultSplitSeparator;
  int64_t limit = -1;
  if (core::IsPresent(count, args, 2)) {
    const int32_t wanted = core::IntegerArgument(count, args, 2, 0);
    limit = wanted < 0 ? 0 : wanted;
  }
  const std::vector<Part> parts = FindParts(text, separator, limit);

  const uint32_t size = static_cast<uint32_t>(parts.size());
  void* array = AllocateArray(&size, 1, ElementWidth(kTagText));
  char** elements = reinterpret_cast<char**>(ArrayElements(array));
  for (uint32_t i = 0; i < size; ++i) {
    char* part = CopyTextBytes(text + parts[i].offset, parts[i].length);
    std::memcpy(&elements[i], &part, sizeof part);
  }
  *result = OwnArrayValue(array, kTagText);
}
