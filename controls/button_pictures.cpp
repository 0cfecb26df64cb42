// Picture handling of the owner-drawn button: GDI bitmaps read through
// 32-bit DIB sections so that the grayed copy can be computed pixel by pixel.
#include "controls/button_pictures.h"

#include <vector>

#include "controls/gdi_holders.h"
#include "controls/stored_blocks.h"
#include "runtime/control_types.h"

namespace {

BITMAPINFO TopDown32BitInfo(SIZE size) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // rows top first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The transparent colour of a picture whose corner cannot be read.
constexpr COLORREF kFallbackTransparent = RGB(255, 0, 255);

// DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
uint32_t PixelOf(COLORREF color) { return GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color); }

}  // namespace

SIZE PictureSize(HBITMAP picture) {
  BITMAP bitmap = {};
  if (!picture || !GetObjectA(picture, sizeof bitmap, &bitmap)) return SIZE{0, 0};
  return SIZE{bitmap.bmWidth, bitmap.bmHeight};
}

COLORREF TransparentColorOf(HBITMAP picture, uint32_t stored) {
  if (stored != kDefaultColorCode) return ResolveColour(stored);
  MemoryDc memory(nullptr);
  if (!memory || !picture) return kFallbackTransparent;
  SelectedObject selected(memory.get(), picture);
  const COLORREF corner = GetPixel(memory.get(), 0, 0);
  return corner == CLR_INVALID ? kFallbackTransparent : corner;
}

bool DrawTransparentPicture(HDC dc, int x, int y, HBITMAP picture, COLORREF transparent) {
  const SIZE size = PictureSize(picture);
  if (size.cx <= 0 || size.cy <= 0) return false;
  MemoryDc memory(dc);
  if (!memory) return false;
  SelectedObject selected(memory.get(), picture);
  return TransparentBlt(dc, x, y, size.cx, size.cy, memory.get(), 0, 0, size.cx, size.cy, transparent) != FALSE;
}

void GrayOutPixels(uint32_t* pixels, size_t count, COLORREF transparent) {
  const uint32_t skip = PixelOf(transparent);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t pixel = pixels[i] & 0x00FFFFFF;
    if (pixel == skip) continue;
    const uint32_t red = pixel >> 16 & 0xFF, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
    // Luminance folded into the upper half of the gray range: dark parts
    // stay visible, light parts fade towards the button face.
    const uint32_t luminance = (red * 30 + green * 59 + blue * 11) / 100;
    uint32_t gray = 128 + luminance / 2;
    // A gray that happens to equal the transparent colour would vanish.
    if ((gray << 16 | gray << 8 | gray) == skip) gray = gray > 128 ? gray - 1 : gray + 1;
    pixels[i] = gray << 16 | gray << 8 | gray;
  }
}

HBITMAP MakeDisabledPicture(HBITMAP picture, COLORREF transparent) {
  const SIZE size = PictureSize(picture);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  BITMAPINFO info = TopDown32BitInfo(size);
  MemoryDc memory(nullptr);
  if (!memory) return nullptr;
  std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
  if (GetDIBits(memory.get(), picture, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS) == 0) {
    return nullptr;
  }
  GrayOutPixels(pixels.data(), pixels.size(), transparent);

  void* bits = nullptr;
  info = TopDown32BitInfo(size);
  HBITMAP grayed = CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!grayed || !bits) {
    if (grayed) DeleteObject(grayed);
    return nullptr;
  }
  std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
  return grayed;
}
