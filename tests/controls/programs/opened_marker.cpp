// A harmless program for the shell-command tests to open: it writes, beside
// itself, "<its own path>.txt" with three lines: its arguments, its working
// folder and the show command it was started with. The file appears whole
// (written under another name, then renamed), so a test can wait for it.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  char own[MAX_PATH] = "", folder[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, folder);
  STARTUPINFOA startup = {sizeof startup};
  GetStartupInfoA(&startup);
  std::string arguments;
  for (int i = 1; i < argc; ++i) arguments += (i > 1 ? " " : "") + std::string(argv[i]);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

  const std::string marker = std::string(own) + ".txt", partial = marker + ".partial";
  FILE* file = std::fopen(partial.c_str(), "wb");
  if (!file) return 1;
  std::fprintf(file, "%s\n%s\n%d\n", arguments.c_str(), folder, show);
  std::fclose(file);
  return MoveFileA(partial.c_str(), marker.c_str()) ? 0 : 1;
}
