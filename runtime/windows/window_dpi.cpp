// Scaling a loaded window's controls, fonts and list columns to the density
// of its screen. Places are scaled edge by edge from where the controls are
// now (the application may have moved them), so neighbours stay neighbours;
// fonts are scaled from what they stand for at 96 DPI, so going back and
// forth between screens never lets rounding creep in.
#include "runtime/windows/window_dpi.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "runtime/windows/loaded_windows.h"
#include "runtime/windows/properties.h"
#include "runtime/windows/standard_controls/child_control.h"

namespace {

int Scaled(int value, UINT from, UINT to) { return MulDiv(value, static_cast<int>(to), static_cast<int>(from)); }

template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

UINT ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kTemplateDpi;
}

// The platform makes its stock fonts for the system's density.
UINT SystemDpi() {
  static const auto get_dpi_for_system = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
  const UINT dpi = get_dpi_for_system ? get_dpi_for_system() : 0;
  return dpi ? dpi : ScreenDpi();
}

bool IsStockFont(HFONT font) {
  for (const int stock : {DEFAULT_GUI_FONT, SYSTEM_FONT, ANSI_VAR_FONT, ANSI_FIXED_FONT, OEM_FIXED_FONT,
                          SYSTEM_FIXED_FONT, DEVICE_DEFAULT_FONT}) {
    if (font == GetStockObject(stock)) return true;
  }
  return false;
}

// What `font` stands for at 96 DPI: a font the runtime made knows it; a
// stock font is scaled back from the system's density; any other font came
// from a template or a record and is made for 96 DPI already.
bool DesignOf(const LoadedWindow& window, HFONT font, LOGFONTA* design) {
  for (const DpiFont& made : window.dpi_fonts) {
    if (made.font == font) {
      *design = made.design;
      return true;
    }
  }
  *design = LOGFONTA{};
  if (GetObjectA(font, sizeof *design, design) == 0) return false;
  if (IsStockFont(font)) {
    design->lfHeight = Scaled(design->lfHeight, SystemDpi(), kTemplateDpi);
    design->lfWidth = Scaled(design->lfWidth, SystemDpi(), kTemplateDpi);
  }
  return true;
}

// One font per design and density: controls that shared a font share its
// scaled copy.
HFONT FontForDpi(std::vector<DpiFont>& made, const LOGFONTA& design, UINT dpi) {
  for (const DpiFont& font : made) {
    if (std::memcmp(&font.design, &design, sizeof design) == 0) return font.font;
  }
  LOGFONTA scaled = design;
  scaled.lfHeight = Scaled(design.lfHeight, kTemplateDpi, dpi);
  scaled.lfWidth = Scaled(design.lfWidth, kTemplateDpi, dpi);
  const HFONT font = CreateFontIndirectA(&scaled);
  if (font) made.push_back(DpiFont{font, design});
  return font;
}

HFONT FontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }

// Gives the control its font at `dpi`. A control without a font of its own
// (no answer to WM_GETFONT) is left as it is.
void ScaleFont(const LoadedWindow& window, HWND control, std::vector<DpiFont>& made, UINT dpi) {
  const HFONT font = FontOf(control);
  LOGFONTA design;
  if (!font || !DesignOf(window, font, &design)) return;
  const HFONT scaled = FontForDpi(made, design, dpi);
  if (!scaled) return;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), TRUE);
  // A control that kept a font the runtime made still draws with it: the
  // font must outlive this change.
  if (FontOf(control) != font) return;
  const auto kept = std::find_if(window.dpi_fonts.begin(), window.dpi_fonts.end(),
                                 [font](const DpiFont& old) { return old.font == font; });
  if (kept != window.dpi_fonts.end()) made.push_back(*kept);
}

void ScalePlace(HWND control, UINT from, UINT to) {
  const RECT place = PlacementInParent(control);
  const int left = Scaled(place.left, from, to), top = Scaled(place.top, from, to);
  int height = Scaled(place.bottom, from, to) - top;
  // A drop-down list's window height is its field and its list together;
  // the field's own height follows the font.
  if (IsOfSystemClass(control, "ComboBox")) {
    RECT dropped = {};
    SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    if (dropped.bottom > dropped.top) height = Scaled(dropped.bottom - dropped.top, from, to);
  }
  SetWindowPos(control, nullptr, left, top, Scaled(place.right, from, to) - left, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Column widths of a list view in report view are pixels too.
void ScaleColumns(HWND control, UINT from, UINT to) {
  if (!IsOfSystemClass(control, WC_LISTVIEWA) || (GetWindowLongPtrA(control, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT)
    return;
  const auto header = reinterpret_cast<HWND>(SendMessageA(control, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int column = 0; column < columns; ++column) {
    const int width = static_cast<int>(SendMessageA(control, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    SendMessageA(control, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(Scaled(width, from, to), 0));
  }
}

void ScaleControls(LoadedWindow& window, UINT dpi) {
  const UINT from = window.dpi;
  std::vector<DpiFont> made;
  for (const ControlInstance& control : window.controls) {
    if (!control.handle) continue;
    ScaleFont(window, control.handle, made, dpi);
    ScalePlace(control.handle, from, dpi);
    ScaleColumns(control.handle, from, dpi);
  }
  // The fonts of the former density that no control holds any more.
  for (const DpiFont& old : window.dpi_fonts) {
    bool kept = false;
    for (const DpiFont& font : made) kept = kept || font.font == old.font;
    if (!kept) DeleteObject(old.font);
  }
  window.dpi_fonts = std::move(made);
  window.dpi = dpi;
}

}  // namespace

UINT DpiOfWindow(HWND window) {
  static const auto get_dpi_for_window = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = get_dpi_for_window ? get_dpi_for_window(window) : 0;
  return dpi ? dpi : ScreenDpi();
}

void FitNewWindowToItsScreen(LoadedWindow& window) {
  const HWND handle = window.handle();
  const UINT from = window.dpi, dpi = DpiOfWindow(handle);
  if (dpi == from) return;
  ScaleControls(window, dpi);
  // The template's place on the screen stays; its size grows with the rest.
  RECT outer;
  GetWindowRect(handle, &outer);
  SetWindowPos(handle, nullptr, 0, 0, Scaled(outer.right - outer.left, from, dpi),
               Scaled(outer.bottom - outer.top, from, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnWindowDpiChanged(LoadedWindow& window, UINT dpi, const RECT& suggested) {
  if (dpi != 0 && dpi != window.dpi) ScaleControls(window, dpi);
  SetWindowPos(window.handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void RefitControlFont(LoadedWindow& window, HWND control) {
  if (window.dpi == kTemplateDpi) return;
  const HFONT font = FontOf(control);
  for (const DpiFont& made : window.dpi_fonts) {
    if (made.font == font) return;
  }
  ScaleFont(window, control, window.dpi_fonts, window.dpi);
}

void ReleaseDpiFonts(LoadedWindow& window) {
  for (const DpiFont& made : window.dpi_fonts) DeleteObject(made.font);
  window.dpi_fonts.clear();
}
