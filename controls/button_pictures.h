// The pictures of the owner-drawn button: their size, their transparent
// colour (the default code meaning the top-left pixel), drawing with that
// colour left out, and the grayed picture made for the disabled state when
// none is stored.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

SIZE PictureSize(HBITMAP picture);

// The transparent colour of a picture: `stored` itself, or the colour of the
// picture's top-left pixel for the default code.
COLORREF TransparentColorOf(HBITMAP picture, uint32_t stored);

// Draws `picture` with its top left at (x, y), leaving out `transparent`.
bool DrawTransparentPicture(HDC dc, int x, int y, HBITMAP picture, COLORREF transparent);

// Turns 32-bit 0x00RRGGBB pixels into a light gray relief of themselves;
// pixels of the transparent colour stay as they are, so the grayed picture
// keeps the same transparent colour.
void GrayOutPixels(uint32_t* pixels, size_t count, COLORREF transparent);

// A new grayed copy of `picture` (null when it cannot be made).
HBITMAP MakeDisabledPicture(HBITMAP picture, COLORREF transparent);
