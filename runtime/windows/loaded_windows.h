// The window table: the window templates read at start-up and the windows
// loaded from them, with their controls. Used on the window thread only
// (worker threads reach it through RunOnWindowThread).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/control_types.h"
#include "runtime/windows/templates/window_template.h"
#include "runtime/windows/window_dpi.h"

struct LoadedWindow {
  uint32_t id = 0;
  const WindowTemplate* source = nullptr;
  HFONT font = nullptr;  // owned, made for kTemplateDpi; null: the system's GUI font
  UINT dpi = kTemplateDpi;  // the density its controls' places and fonts are scaled to
  std::vector<DpiFont> dpi_fonts;  // owned: the controls' fonts at that density
  bool loaded = false;   // all controls made; events may be raised
  SIZE reported_size = {};  // outer size last announced by "size changed" (or at load)
  bool enter_moves_focus = false;  // kWindowEnterMovesFocus (runtime/windows/enter_key.h)
  ControlInstance self;  // the window itself, control id 0
  std::vector<ControlInstance> controls;  // template order; never reallocated after load

  HWND handle() const { return self.handle; }
  ControlInstance* FindControl(uint32_t control_id);
};

// Start-up keeps here the templates read from the program's data.
void SetWindowTemplates(std::vector<WindowTemplate> templates);
const WindowTemplate* FindWindowTemplate(uint32_t window_id);

// Creates the window and its controls from its template and shows it;
// false when no template has the identifier or any creation failed (what
// was made is destroyed again).
bool LoadWindow(uint32_t window_id);

// A loaded window whose window still exists; null otherwise.
LoadedWindow* FindLoadedWindow(uint32_t window_id);
LoadedWindow* FindLoadedWindowByHandle(HWND window);

// True while at least one loaded window still exists (IsWindow).
bool AnyApplicationWindowLeft();

// Called by the window's procedure when its window is destroyed.
void ForgetWindowHandle(HWND window);

// Exit: destroys every application window.
void CloseAllWindows();

// The windows of the program that have no parent window: every loaded
// window still open whose window is top-level. Safe from any thread (the
// table is read on the window thread).
std::vector<HWND> LoadedTopLevelWindows();
