// Font blocks: the stored form of a control's font in property records,
// read by every control that carries its own font.
//
// A font block is exactly 60 bytes, little-endian, in the field order of
// the platform's logical font record:
//   i32 height, i32 width, i32 escapement, i32 orientation, i32 weight,
//   u8 italic, u8 underline, u8 strike-out, u8 character set,
//   u8 output precision, u8 clip precision, u8 quality, u8 pitch and family,
//   32 bytes face name (GBK), NUL-padded; a name filling all 32 bytes is
//   cut to 31.
// A block of any other length is refused.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr size_t kFontBlockSize = 60;

// Reads a font block into a logical font; false for a block that is not one.
bool ReadFontBlock(const uint8_t* block, size_t size, LOGFONTA* font);

// A new font the caller owns (DeleteObject); null for a bad block or when
// the platform makes no font.
HFONT CreateFontFromBlock(const uint8_t* block, size_t size);
