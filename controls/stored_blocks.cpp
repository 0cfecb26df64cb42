// Reading of the blocks shared by the stored property records, and the bridge
// to the runtime's font and picture readers.
#include "controls/stored_blocks.h"

#include "runtime/values/byte_sets.h"

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
  const void* block = PointerOf(Value{word0, word1, kTagByteSet});
  const uint8_t* bytes = ByteSetBytes(block);
  return bytes ? std::vector<uint8_t>(bytes, bytes + ByteSetLength(block)) : std::vector<uint8_t>();
}

Value NewByteSetValue(const std::vector<uint8_t>& bytes) {
  return OwnByteSetValue(MakeByteSet(bytes.data(), static_cast<uint32_t>(bytes.size())));
}
