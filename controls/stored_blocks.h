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

// A byte-set property value (the words of a lent byte set: the count word 1,
// the length, then the bytes) as bytes; an empty set for a null pointer.
std::vector<uint8_t> BytesOfByteSetWords(uint32_t word0, uint32_t word1);

// A new byte-set value holding `bytes` (the null pointer for none).
Value NewByteSetValue(const std::vector<uint8_t>& bytes);
