// Screenshots: the window's screen rectangle copied from the screen into a
// 24-bit DIB and written as a PNG file with libpng.
#include <png.h>

#include <vector>

#include "tests/app/driver/main_window.h"
#include "tests/support/library_format_files.h"

namespace {

// Owns a memory device context and the bitmap selected into it.
class ScreenCopy {
 public:
  ScreenCopy(int width, int height) : screen_(GetDC(nullptr)) {
    memory_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, width, height);
    previous_ = SelectObject(memory_, bitmap_);
  }
  ~ScreenCopy() {
    SelectObject(memory_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
  }
  ScreenCopy(const ScreenCopy&) = delete;
  ScreenCopy& operator=(const ScreenCopy&) = delete;

  bool ok() const { return screen_ && memory_ && bitmap_; }
  HDC screen() const { return screen_; }
  HDC memory() const { return memory_; }
  HBITMAP bitmap() const { return bitmap_; }

 private:
  HDC screen_;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

bool SaveWindowPicture(HWND window, const std::string& png_path) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  ScreenCopy copy(width, height);
  if (!copy.ok() || !BitBlt(copy.memory(), 0, 0, width, height, copy.screen(), rect.left, rect.top, SRCCOPY)) {
    return false;
  }
  // Top-down rows of blue, green, red; DIB rows are padded to 4 bytes.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
  std::vector<uint8_t> dib(stride * height);
  if (GetDIBits(copy.memory(), copy.bitmap(), 0, height, dib.data(), &info, DIB_RGB_COLORS) != height) return false;

  PngPicture picture;
  picture.width = width;
  picture.height = height;
  picture.colour_type = PNG_COLOR_TYPE_RGB;
  picture.rows.reserve(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = dib.data() + stride * y;
    for (int x = 0; x < width; ++x) {
      picture.rows.insert(picture.rows.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
    }
  }
  return WritePngFile(png_path, picture);
}
