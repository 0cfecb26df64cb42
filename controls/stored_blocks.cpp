// Reading of the blocks shared by the stored property records, and the bridge
// to the runtime's font and picture readers.
#include "controls/stored_blocks.h"

#include <cstring>


bool ReadStoredBlock(ByteCursor& cursor, std::vector<uint8_t>* bytes) {
  const uint8_t* start = nullptr;
  uint32_t length = 0;
  if (!cursor.LengthPrefixed(&start, &length)) {
    bytes->clear();
    return false;
  }
  bytes->assign(start, start + length);
  return true;
}

HFONT FontFromStoredBlock(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return nullptr;
  return CreateFontFromBlock(bytes.data(), bytes.size());
}

LRESULT OnFontMessage(HWND control, UINT message, WPARAM wparam, LPARAM lparam, OwnedFont& own, HFONT& given,
                      HFONT fallback) {
  if (message == WM_GETFONT) return reinterpret_cast<LRESULT>(own ? own.get() : given ? given : fallback);
  own.Reset();
  given = reinterpret_cast<HFONT>(wparam);
  if (LOWORD(lparam)) InvalidateRect(control, nullptr, TRUE);
  return 0;
}

HBITMAP PictureFromStoredBlock(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return nullptr;
  return CreateBitmapFromBlock(bytes.data(), bytes.size());
}

std::vector<uint8_t> BytesOfByteSetWords(uint32_t word0, uint32_t word1) {
  Value value{word0, word1, kTagByteSet};
  const auto* block = static_cast<const uint8_t*>(PointerOf(value));
  if (!block) return {};
  // The header is two 32-bit words: the count word and the length.
  uint32_t length = 0;
  std::memcpy(&length, block + 4, sizeof length);
  return std::vector<uint8_t>(block + 8, block + 8 + length);
}

Value NewByteSetValue(const std::vector<uint8_t>& bytes) {
  Value value{0, 0, kTagByteSet};
  if (bytes.empty()) return value;
  auto* block = static_cast<uint8_t*>(AllocateComputedSize(uint64_t{8} + bytes.size()));
  const uint32_t header[2] = {1, static_cast<uint32_t>(bytes.size())};
  std::memcpy(block, header, sizeof header);
  std::memcpy(block + 8, bytes.data(), bytes.size());
  StorePointer(value, block);
  return value;
}
