// Screen reading for the button test program through a 32-bit DIB section.
#include "tests/controls/programs/screen_pixels.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "tests/support/condition_wait.h"

namespace {

// The pixels (0x00RRGGBB, top row first) of `width` x `height` at (x, y) of `source`.
std::vector<uint32_t> CopyPixels(HDC source, int x, int y, int width, int height) {
  std::vector<uint32_t> pixels;
  if (width <= 0 || height <= 0) return pixels;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC memory = CreateCompatibleDC(source);
  const HBITMAP canvas = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (canvas && bits) {
    const HGDIOBJ previous = SelectObject(memory, canvas);
    if (BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY)) {
      const auto* start = static_cast<const uint32_t*>(bits);
      pixels.assign(start, start + static_cast<size_t>(width) * static_cast<size_t>(height));
    }
    SelectObject(memory, previous);
  }
  if (canvas) DeleteObject(canvas);
  DeleteDC(memory);
  return pixels;
}

}  // namespace

int CountControlPixels(HWND control, COLORREF color) {
  RECT client;
  if (!GetClientRect(control, &client)) return -1;
  const HDC dc = GetDC(control);
  const std::vector<uint32_t> pixels = CopyPixels(dc, 0, 0, client.right, client.bottom);
  ReleaseDC(control, dc);
  const uint32_t wanted = GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color);
  int count = 0;
  for (uint32_t pixel : pixels) count += (pixel & 0x00FFFFFF) == wanted;
  return count;
}

bool WaitForPixels(HWND control, COLORREF color, int minimum, int milliseconds) {
  return WaitForCondition([&] { return CountControlPixels(control, color) >= minimum; },
                          static_cast<uint32_t>(milliseconds));
}

void MoveMouseTo(HWND window, int right_of_centre) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int x = (rect.left + rect.right) / 2 + right_of_centre, y = (rect.top + rect.bottom) / 2;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(x, 65535, width - 1);
  input.mi.dy = MulDiv(y, 65535, height - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void ClickMouse() {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof inputs[0]);
}

bool SaveScreen(const char* path) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const HDC screen = GetDC(nullptr);
  const std::vector<uint32_t> pixels = CopyPixels(screen, 0, 0, width, height);
  ReleaseDC(nullptr, screen);
  if (pixels.empty()) return false;

  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  const DWORD pixel_bytes = static_cast<DWORD>(pixels.size() * sizeof(uint32_t));
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + pixel_bytes;
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                       std::fwrite(pixels.data(), pixel_bytes, 1, out) == 1;
  return std::fclose(out) == 0 && written;
}
