// The window table and the loading of a window from its template: the
// window first, then its controls in template order, each through its
// type's create entry, then the "created" event and the window is shown.
#include "runtime/windows/loaded_windows.h"

#include <utility>

#include "runtime/process/window_thread.h"
#include "runtime/windows/dispatch.h"
#include "runtime/windows/standard_controls/standard_controls.h"

namespace {

std::vector<WindowTemplate> g_templates;
std::vector<std::unique_ptr<LoadedWindow>> g_windows;

// Made for the template's density, like every place in the template; the
// window scales it with the rest to its screen's.
HFONT CreateTemplateFont(const FontTemplate& font) {
  if (font.face.empty()) return nullptr;
  const int height = -MulDiv(font.points, kTemplateDpi, 72);
  return CreateFontA(height, 0, 0, 0, (font.flags & kFontBold) ? FW_BOLD : FW_NORMAL,
                     (font.flags & kFontItalic) ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, font.face.c_str());
}

// The window a control is placed in: its parent control's window when the
// parent has one (a control inside another), else the window itself.
HWND ParentHandleFor(LoadedWindow& window, const ControlTemplate& control) {
  if (control.parent_id != 0) {
    const ControlInstance* parent = window.FindControl(control.parent_id);
    if (parent && parent->handle) return parent->handle;
  }
  return window.handle();
}

bool CreateControl(LoadedWindow& window, const ControlTemplate& source) {
  const ControlType* type = FindControlType(source.type_name);
  if (!type || (!type->windowless && !type->create)) return false;

  ControlInstance control;
  control.window_id = window.id;
  control.id = source.id;
  control.parent_id = source.parent_id;
  control.type = type;
  control.source = &source;
  control.visible = (source.flags & kControlVisible) != 0;
  control.disabled = (source.flags & kControlDisabled) != 0;
  control.checked = (source.flags & kControlChecked) != 0;
  if (type->windowless) {
    control.caption = source.caption;
  } else {
    const ControlCreateInfo info{ParentHandleFor(window, source),
                                 source.rect.left,
                                 source.rect.top,
                                 source.rect.width,
                                 source.rect.height,
                                 window.id,
                                 source.id,
                                 source.caption.c_str(),
                                 control.visible,
                                 control.disabled,
                                 window.font ? window.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                                 source.properties.data(),
                                 static_cast<uint32_t>(source.properties.size()),
                                 control.checked};
    control.handle = type->create(info);
    if (!control.handle) return false;
  }
  window.controls.push_back(std::move(control));
  return true;
}

// The window table as dispatch sees it: where an event of a control goes.
class LoadedWindowDirectory final : public EventDirectory {
 public:
  EventRoute Find(uint32_t window_id, uint32_t control_id, int32_t event) override {
    LoadedWindow* window = FindLoadedWindow(window_id);
    if (!window) return {EventTarget::kNoWindow, nullptr};
    if (!window->loaded) return {EventTarget::kWindowLoading, nullptr};
    const ControlInstance* control = window->FindControl(control_id);
    if (!control) return {EventTarget::kNoControl, nullptr};
    // A windowed control whose window was destroyed can no longer raise.
    if (!control->type || (!control->type->windowless && !IsWindow(control->handle))) {
      return {EventTarget::kDeadControl, nullptr};
    }
    return {EventTarget::kBound, window->source->FindHandler(control_id, event)};
  }

  bool WindowIdOf(HWND handle, uint32_t* window_id) override {
    const LoadedWindow* window = FindLoadedWindowByHandle(handle);
    if (window) *window_id = window->id;
    return window != nullptr;
  }
};

LoadedWindowDirectory g_directory;

void Discard(LoadedWindow* window) {
  if (window->handle()) DestroyWindow(window->handle());
  for (auto it = g_windows.begin(); it != g_windows.end(); ++it) {
    if (it->get() == window) {
      g_windows.erase(it);
      return;
    }
  }
}

}  // namespace

ControlInstance* LoadedWindow::FindControl(uint32_t control_id) {
  if (control_id == 0) return &self;
  for (ControlInstance& control : controls) {
    if (control.id == control_id) return &control;
  }
  return nullptr;
}

void SetWindowTemplates(std::vector<WindowTemplate> templates) { g_templates = std::move(templates); }

const WindowTemplate* FindWindowTemplate(uint32_t window_id) {
  for (const WindowTemplate& window : g_templates) {
    if (window.id == window_id) return &window;
  }
  return nullptr;
}

bool LoadWindow(uint32_t window_id) {
  SetEventDirectory(&g_directory);
  if (FindLoadedWindow(window_id)) return true;
  const WindowTemplate* source = FindWindowTemplate(window_id);
  if (!source) return false;

  g_windows.push_back(std::make_unique<LoadedWindow>());
  LoadedWindow* window = g_windows.back().get();
  window->id = window_id;
  window->source = source;
  window->font = CreateTemplateFont(source->font);
  window->self.window_id = window_id;
  window->self.type = FindControlType(kWindowTypeName);
  // The procedure takes the record at WM_NCCREATE; the font is freed when
  // the window is destroyed, so a failed creation frees it here.
  if (!CreateApplicationWindow(window)) {
    if (window->font) DeleteObject(window->font);
    Discard(window);
    return false;
  }

  // Controls keep their place in the vector: reflection finds them by
  // address while later controls are being made.
  window->controls.reserve(source->controls.size());
  for (const ControlTemplate& control : source->controls) {
    if (!CreateControl(*window, control)) {
      Discard(window);
      return false;
    }
  }

  FitNewWindowToItsScreen(*window);
  RECT outer;
  GetWindowRect(window->handle(), &outer);
  window->reported_size = SIZE{outer.right - outer.left, outer.bottom - outer.top};
  window->loaded = true;
  RaiseEvent(window_id, 0, kWindowCreatedEvent);
  if (window->handle()) {
    ShowWindow(window->handle(), SW_SHOW);
    UpdateWindow(window->handle());
  }
  return true;
}

LoadedWindow* FindLoadedWindow(uint32_t window_id) {
  for (const auto& window : g_windows) {
    if (window->id == window_id && window->handle()) return window.get();
  }
  return nullptr;
}

LoadedWindow* FindLoadedWindowByHandle(HWND handle) {
  if (!handle) return nullptr;
  for (const auto& window : g_windows) {
    if (window->handle() == handle) return window.get();
  }
  return nullptr;
}

bool AnyApplicationWindowLeft() {
  for (const auto& window : g_windows) {
    if (window->handle() && IsWindow(window->handle())) return true;
  }
  return false;
}

void ForgetWindowHandle(HWND handle) {
  LoadedWindow* window = FindLoadedWindowByHandle(handle);
  if (!window) return;
  // The children are gone by now: their handles, then the fonts.
  window->self.handle = nullptr;
  for (ControlInstance& control : window->controls) control.handle = nullptr;
  if (window->font) DeleteObject(window->font);
  window->font = nullptr;
  ReleaseDpiFonts(*window);
}

void CloseAllWindows() {
  for (const auto& window : g_windows) {
    if (window->handle()) DestroyWindow(window->handle());
  }
}

namespace {

void CollectTopLevelWindows(void* context) {
  auto* handles = static_cast<std::vector<HWND>*>(context);
  for (const auto& window : g_windows) {
    const HWND handle = window->handle();
    // GetParent would name an owner too; a top-level window is one that is
    // not a child.
    if (handle && IsWindow(handle) && (GetWindowLongPtrA(handle, GWL_STYLE) & WS_CHILD) == 0)
      handles->push_back(handle);
  }
}

}  // namespace

std::vector<HWND> LoadedTopLevelWindows() {
  std::vector<HWND> handles;
  RunOnWindowThread(CollectTopLevelWindows, &handles);
  return handles;
}
