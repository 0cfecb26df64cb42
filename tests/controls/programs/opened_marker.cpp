// A harmless program for the shell-command tests to open: it writes, beside
// itself, "<its own path>.txt" with three lines: its arguments, its working
// folder and the show command it was started with (-1: none given).
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
  FILE* marker = std::fopen((std::string(own) + ".txt").c_str(), "wb");
  if (!marker) return 1;
  std::fprintf(marker, "%s\n%s\n%d\n", arguments.c_str(), folder,
               (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1);
  return std::fclose(marker) == 0 ? 0 : 1;
}
