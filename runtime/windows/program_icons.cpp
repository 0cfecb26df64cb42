// The program's icon, loaded from its first icon group resource.
#include "runtime/windows/program_icons.h"

#include <string>

namespace {

HICON g_icons[2] = {};  // large, small
bool g_looked_up = false;

// A resource name is a number or a text; the text lives only during the walk.
struct FirstIconGroup {
  bool found = false;
  WORD number = 0;
  std::string text;
  const char* name() const { return text.empty() ? MAKEINTRESOURCEA(number) : text.c_str(); }
};

BOOL CALLBACK TakeFirstIconGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
  auto* first = reinterpret_cast<FirstIconGroup*>(context);
  first->found = true;
  if (IS_INTRESOURCE(name)) first->number = LOWORD(reinterpret_cast<ULONG_PTR>(name));
  else first->text = name;
  return FALSE;
}

void LoadProgramIcons() {
  g_looked_up = true;
  const HMODULE program = GetModuleHandleA(nullptr);
  FirstIconGroup first;
  EnumResourceNamesA(program, RT_GROUP_ICON, TakeFirstIconGroup, reinterpret_cast<LONG_PTR>(&first));
  if (!first.found) return;
  // The icon group holds several sizes; each system size takes the nearest.
  g_icons[0] = static_cast<HICON>(LoadImageA(program, first.name(), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), 0));
  g_icons[1] = static_cast<HICON>(LoadImageA(program, first.name(), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
}

}  // namespace

HICON ProgramIcon(bool small) {
  if (!g_looked_up) LoadProgramIcons();
  return g_icons[small ? 1 : 0];
}

void DestroyProgramIcons() {
  for (HICON& icon : g_icons) {
    if (icon) DestroyIcon(icon);
    icon = nullptr;
  }
}
