// Window enumeration with predicates; captions are read with WM_GETTEXT,
// which the window system copies across processes.
#include "tests/app/driver/window_search.h"

#include <commctrl.h>

#include <cctype>

namespace {

struct TopLevelQuery {
  DWORD process_id;
  const std::string* class_name;
  const std::string* caption_prefix;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
  auto* query = reinterpret_cast<TopLevelQuery*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->process_id || !IsWindowVisible(window)) return TRUE;
  if (!query->class_name->empty() && !IsOfClass(window, *query->class_name)) return TRUE;
  if (CaptionOf(window).compare(0, query->caption_prefix->size(), *query->caption_prefix) == 0) {
    query->found.push_back(window);
  }
  return TRUE;
}

struct ChildQuery {
  const std::string* class_name;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
  auto* query = reinterpret_cast<ChildQuery*>(parameter);
  if (query->class_name->empty() || IsOfClass(window, *query->class_name)) {
    query->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD process_id, const std::string& class_name,
                                  const std::string& caption_prefix) {
  TopLevelQuery query{process_id, &class_name, &caption_prefix, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND FirstTopLevelWindow(DWORD process_id, const std::string& class_name, const std::string& caption_prefix) {
  const std::vector<HWND> windows = TopLevelWindows(process_id, class_name, caption_prefix);
  return windows.empty() ? nullptr : windows.front();
}

std::vector<HWND> ChildWindows(HWND parent, const std::string& class_name) {
  ChildQuery query{&class_name, {}};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND ChildWithCaption(HWND parent, const std::string& class_name, const std::string& caption) {
  for (HWND child : ChildWindows(parent, class_name)) {
    if (CaptionOf(child) == caption) return child;
  }
  return nullptr;
}

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string BaseClassOf(HWND window) {
  char name[256] = "";
  RealGetWindowClassA(window, name, sizeof name);
  return name;
}

namespace {

bool SameName(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

bool Contains(std::string text, std::string part) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  for (char& c : part) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text.find(part) != std::string::npos;
}

// Asks a window a system-range message (below WM_USER, so that no class of
// the program gives it a meaning of its own); 0 when it does not answer.
LRESULT Ask(HWND window, UINT message) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) ? answer : 0;
}

}  // namespace

bool IsOfClass(HWND window, const std::string& class_name) {
  const std::string own = ClassOf(window);
  if (SameName(own, class_name) || SameName(BaseClassOf(window), class_name)) return true;
  // Programs may register their controls under names of their own over the
  // system classes, where RealGetWindowClass does not see through (Wine).
  // Then the kind shows in what the window answers.
  if (SameName(class_name, "Button")) return Contains(own, "button");
  if (SameName(class_name, "Edit")) return Ask(window, EM_GETLIMITTEXT) > 0;
  if (SameName(class_name, "ComboBox")) return Ask(window, CB_GETITEMHEIGHT) > 0;
  if (SameName(class_name, WC_LISTVIEWA)) return !ChildWindows(window, WC_HEADERA).empty();
  return false;
}

std::string CaptionOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  text.resize(copied);
  return text;
}

RECT RectInParent(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND FocusOnThreadOf(HWND window) {
  GUITHREADINFO info = {sizeof info};
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool TakesKeys(HWND control) {
  return FocusOnThreadOf(control) == control && GetForegroundWindow() == GetAncestor(control, GA_ROOT);
}
