// The blocks that the controls' stored property records share: a font block
// and a picture block, each stored as a 32-bit byte count followed by the
// bytes (a count of 0: none), and the colour words with the runtime's
// default-background code. The fonts and pictures are made by the runtime's
// shared readers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "controls/gdi_holders.h"
#include "runtime/control_types.h"

// The colour word that stands for "the default" (the background of the
// parent, or a system colour, as each control says).
constexpr uint32_t kDefaultColorCode = kDefaultBackgroundColour;

// Reads a stored record that starts with its version word: an empty record
// leaves `*record` at its defaults; a version above `newest` refuses it;
// else `read_fields(cursor, version)` reads the fields after the version,
// and the record must end exactly where they do.
template <typename Record, typename ReadFields>
bool ReadVersionedRecord(const uint8_t* bytes, size_t size, uint32_t newest, Record* record,
                         ReadFields read_fields) {
  *record = Record();
  if (size == 0) return true;
  ByteCursor cursor(bytes, size);
  const uint32_t version = cursor.U32();
  if (!cursor.ok() || version > newest) return false;
  read_fields(cursor, version);
  return cursor.AtEnd();
}

// A choice written as a property brought into 0..last: a negative number is
// 0, a larger one `last`.
inline uint32_t ClampedChoice(uint32_t word, uint32_t last) {
  if (static_cast<int32_t>(word) < 0) return 0;
  return word > last ? last : word;
}

// Reads one length-prefixed block into `bytes` (empty for a count of 0).
// False, and the cursor failed, when the block runs past the record's end.
bool ReadStoredBlock(ByteCursor& cursor, std::vector<uint8_t>* bytes);

// A font block (60 bytes in LOGFONTA order) or an empty block: the font, or
// null for an empty block or one the reader refuses.
HFONT FontFromStoredBlock(const std::vector<uint8_t>& bytes);
// WM_SETFONT and WM_GETFONT of a control that draws its text with `own` (the
// font its record names), else `given` (its window's), else `fallback`. A
// font set later replaces both (the runtime sets every control's font when
// its window moves to a screen of another density); `own` is freed then.
LRESULT OnFontMessage(HWND control, UINT message, WPARAM wparam, LPARAM lparam, OwnedFont& own, HFONT& given,
                      HFONT fallback);

// A picture block (the bytes of a BMP file): the bitmap, or null.
HBITMAP PictureFromStoredBlock(const std::vector<uint8_t>& bytes);

// The bytes of a byte-set property value (the words of a lent byte set);
// none for the empty set.
std::vector<uint8_t> BytesOfByteSetWords(uint32_t word0, uint32_t word1);

// A new byte-set value holding `bytes` (the null pointer for none).
Value NewByteSetValue(const std::vector<uint8_t>& bytes);
