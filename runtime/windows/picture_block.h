// Picture and image-list blocks: the stored form of bitmaps and image lists
// in property records, shared by every control that shows pictures.
//
// A picture block holds the bytes of a whole BMP file, little-endian:
//   "BM", u32 file size (not relied on), u32 reserved, u32 pixel offset
//   (from the start of the block), then an information header of at least
//   40 bytes: u32 header size, i32 width (> 0), i32 height (not 0; negative
//   is top row first), u16 planes (1), u16 bits per pixel (1, 4, 8, 24 or
//   32), u32 compression (0, uncompressed), u32 image size, i32 x and
//   i32 y resolution, u32 colours used, u32 important colours; then, for
//   1, 4 and 8 bits, the palette (4 bytes an entry: blue, green, red, 0;
//   "colours used" entries, or all of them when 0). The rows, each padded
//   to 4 bytes, must lie wholly inside the block from the pixel offset on.
// Anything else (other compressions, a truncated file, sizes past
// 16384 pixels a side) is refused.
//
// An image-list block is:
//   u32 image width, u32 image height (both > 0),
//   u32 transparent colour (RGB as 0x00BBGGRR, or 0xFF000000 for none),
//   then a picture block, the rest of the block, whose bitmap is the strip
//   of images side by side (at least one image wide and tall).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>

// The transparent colour of an image-list block that has none.
constexpr uint32_t kNoTransparentColour = 0xFF000000;

// A new bitmap the caller owns (DeleteObject); null for a bad block.
HBITMAP CreateBitmapFromBlock(const uint8_t* block, size_t size);

// A new image list the caller owns (ImageList_Destroy); null for a bad block.
HIMAGELIST CreateImageListFromBlock(const uint8_t* block, size_t size);
