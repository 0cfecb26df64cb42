// Copy, assignment and comparison of text values.
#include "runtime/texts.h"

#include <cstring>

#include "runtime/memory.h"

uint32_t TextLength(const char* text) {
  return text ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

char* CopyTextBytes(const char* bytes, uint32_t length) {
  if (length == 0) return nullptr;
  auto* copy = static_cast<char*>(AllocateComputedSize(uint64_t{length} + 1));
  std::memcpy(copy, bytes, length);
  copy[length] = '\0';
  return copy;
}

char* CopyText(const char* text) { return CopyTextBytes(text, TextLength(text)); }

void AssignText(char** target, const char* source) {
  if (*target == source) return;
  char* copy = CopyText(source);
  FreeMemory(*target);
  *target = copy;
}

int CompareTexts(const char* left, const char* right) {
  // strcmp compares as unsigned char, which is the byte order wanted here.
  return std::strcmp(left ? left : "", right ? right : "");
}

Value OwnTextValue(char* text) {
  Value value{0, 0, kTagText};
  StorePointer(value, text);
  return value;
}
