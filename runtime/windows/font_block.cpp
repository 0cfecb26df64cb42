// Font blocks: stored font descriptions become platform fonts.
#include "runtime/windows/font_block.h"

#include <cstring>

#include "runtime/windows/templates/byte_cursor.h"

static_assert(sizeof(LOGFONTA::lfFaceName) == 32, "the stored face name is 32 bytes");

bool ReadFontBlock(const uint8_t* block, size_t size, LOGFONTA* font) {
  if (block == nullptr || size != kFontBlockSize) return false;
  ByteCursor cursor(block, size);
  LOGFONTA read = {};
  read.lfHeight = cursor.I32();
  read.lfWidth = cursor.I32();
  read.lfEscapement = cursor.I32();
  read.lfOrientation = cursor.I32();
  read.lfWeight = cursor.I32();
  read.lfItalic = cursor.U8();
  read.lfUnderline = cursor.U8();
  read.lfStrikeOut = cursor.U8();
  read.lfCharSet = cursor.U8();
  read.lfOutPrecision = cursor.U8();
  read.lfClipPrecision = cursor.U8();
  read.lfQuality = cursor.U8();
  read.lfPitchAndFamily = cursor.U8();
  const uint8_t* name = cursor.Bytes(sizeof read.lfFaceName);
  if (!cursor.AtEnd() || name == nullptr) return false;
  // The platform wants a terminated name; the last byte is always the NUL.
  std::memcpy(read.lfFaceName, name, sizeof read.lfFaceName - 1);
  read.lfFaceName[sizeof read.lfFaceName - 1] = '\0';
  *font = read;
  return true;
}

HFONT CreateFontFromBlock(const uint8_t* block, size_t size) {
  LOGFONTA font;
  if (!ReadFontBlock(block, size, &font)) return nullptr;
  return CreateFontIndirectA(&font);
}
