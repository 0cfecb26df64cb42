// The main window on screens of different densities: at 96 DPI every control
// stands where the layout puts it, at 144 DPI half as large again, as do the
// list's columns and its resize rule. Screenshots of both are saved.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <string>

#include "tests/app/driver/main_window.h"
#include "tests/app/driver/user_input.h"
#include "tests/app/driver/window_search.h"

namespace {

int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

// The layout in pixels of a 96-DPI screen; a size of -1 is not compared (the
// drop-down list's height follows its font, the list's size the window's).
struct Place {
  const char* caption;                // the control with this caption, else
  HWND MainWindowControls::*control;  // the one the driver found
  int left, top, width, height;
};
const Place kPlaces[] = {
    {"待转的图片：", nullptr, 8, 8, 88, 24}, {"图像品质：", nullptr, 240, 8, 64, 24},
    {"欢迎使用【Moravin Osprine】软件", nullptr, 494, 12, 256, 16},
    {nullptr, &MainWindowControls::add, 88, 8, 45, 24}, {nullptr, &MainWindowControls::start, 912, 4, 80, 32},
    {nullptr, &MainWindowControls::remove, 134, 8, 45, 24}, {nullptr, &MainWindowControls::clear, 180, 8, 45, 24},
    {nullptr, &MainWindowControls::quality, 296, 8, 48, 24}, {nullptr, &MainWindowControls::save_mode, 373, 10, 80, -1},
    {nullptr, &MainWindowControls::save_folder, 455, 8, 304, 24}, {nullptr, &MainWindowControls::browse, 762, 8, 40, 24},
    {nullptr, &MainWindowControls::open_folder, 807, 8, 40, 24}, {nullptr, &MainWindowControls::list, 0, 39, -1, -1},
    {nullptr, &MainWindowControls::progress, 185, 256, 552, 32}, {nullptr, &MainWindowControls::cancel, 748, 252, 88, 40},
};

int ColumnWidth(HWND list, int column) {
  DWORD_PTR width = 0;
  SendMessageTimeoutA(list, LVM_GETCOLUMNWIDTH, column, 0, SMTO_ABORTIFHUNG, 2000, &width);
  return static_cast<int>(width);
}

// Edges are scaled, so that neighbours stay neighbours; then the columns.
void ExpectLayout(const MainWindowControls& c, int dpi) {
  for (const Place& place : kPlaces) {
    const HWND control = place.caption ? ChildWithCaption(c.window, "", place.caption) : c.*place.control;
    const RECT have = RectInParent(control);
    const RECT want = {Scaled(place.left, dpi), Scaled(place.top, dpi),
                       place.width < 0 ? have.right : Scaled(place.left + place.width, dpi),
                       place.height < 0 ? have.bottom : Scaled(place.top + place.height, dpi)};
    EXPECT_TRUE(control && EqualRect(&have, &want)) << dpi << " DPI, control at " << place.left << "," << place.top
        << ": have " << have.left << "," << have.top << "-" << have.right << "," << have.bottom << ", want "
        << want.left << "," << want.top << "-" << want.right << "," << want.bottom;
  }
  EXPECT_EQ(ColumnWidth(c.list, 0), Scaled(50, dpi));
  EXPECT_EQ(ColumnWidth(c.list, 1), Scaled(820, dpi));
  EXPECT_EQ(ColumnWidth(c.list, 2), Scaled(100, dpi));
}

// The density Wine gives programs started from now on, put back at the end
// of the scope: the other tests share the prefix.
constexpr char kDesktop[] = "Control Panel\\Desktop";
struct ScreenDensity {
  explicit ScreenDensity(DWORD dpi) {
    DWORD size = sizeof previous;
    had = SHGetValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", nullptr, &previous, &size) == ERROR_SUCCESS;
    set = SHSetValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &dpi, sizeof dpi) == ERROR_SUCCESS;
  }
  ~ScreenDensity() {
    if (had) SHSetValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &previous, sizeof previous);
    else SHDeleteValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels");
  }
  DWORD previous = 0;
  bool had = false, set = false;
};

TEST(MainWindowLook, LayoutFollowsTheScreensDensity) {
  ASSERT_TRUE(GetSystemMetrics(SM_CXSCREEN) >= 1600 && GetSystemMetrics(SM_CYSCREEN) >= 1000)
      << "the window at 144 DPI needs a screen of 1600x1000 at least (xvfb-run -s \"-screen 0 1920x1200x24\")";
  const std::string screenshots = std::string(TULVEX_SCREENSHOTS_DIR) + "\\main_window_";
  {
    ProgramSession program(TULVEX_PROGRAM, "Tulvex V3.0");
    ASSERT_EQ(program.error(), "");
    ExpectLayout(program.controls(), 96);
    EXPECT_TRUE(SaveWindowPicture(program.controls().window, screenshots + "96dpi.png"));
  }
  const ScreenDensity density(144);
  ASSERT_TRUE(density.set);
  ProgramSession program(TULVEX_PROGRAM, "Tulvex V3.0");
  ASSERT_EQ(program.error(), "");
  const MainWindowControls& c = program.controls();
  EXPECT_TRUE(SaveWindowPicture(c.window, screenshots + "144dpi.png"));
  ExpectLayout(c, 144);

  // Resized, the list keeps its margins to the window and the path column
  // takes its width but the other columns', all scaled.
  SetWindowPos(c.window, nullptr, 0, 0, 1260, 900, SWP_NOMOVE | SWP_NOZORDER);
  RECT list = {};
  EXPECT_TRUE(WaitForCondition([&] { return list = RectInParent(c.list), list.right == 1260 - 12; }, 5000)) << list.right;
  EXPECT_EQ(list.bottom - list.top, 900 - 104);
  EXPECT_EQ(ColumnWidth(c.list, 1), 1248 - 258);
}

}  // namespace
