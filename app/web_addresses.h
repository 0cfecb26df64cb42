// The program's own web endpoints, in one place. The window template
// (main_window.tvw) repeats the caption's address, the hyperlink's target and
// the advertising item's text; tests/app/web_addresses_test.cpp keeps the two
// in step.
#pragma once

namespace tulvex {

// Shown at the end of the main window's caption.
inline constexpr char kProjectPageAddress[] = "www.tulvex.example.org";
// Opened by the hyperlink at the window's top.
inline constexpr char kHyperlinkTarget[] = "http://www.tulvex.example.org/";
// The last item of the job list's context menu and the page it opens.
inline constexpr char kAdvertisingText[] = "更多图片模板请访问项目主页";
inline constexpr char kAdvertisingTarget[] = "http://www.tulvex.example.org/templates/";

}  // namespace tulvex
