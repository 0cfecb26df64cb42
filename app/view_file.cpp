// The view-file decision (see view_file.h).
#include "app/view_file.h"

#include "app/gbk_path.h"
#include "imaging/picture_loader.h"

namespace tulvex {
namespace {

// Extensions the shell starts rather than shows: programs, scripts, links
// and installers.
constexpr const char* kRunningExtensions[] = {
    ".exe", ".com", ".bat", ".cmd", ".pif", ".scr", ".lnk", ".url", ".js", ".jse", ".vbs", ".vbe",
    ".wsf", ".wsh", ".hta", ".msi", ".msp", ".cpl", ".ps1", ".reg", ".jar", ".application"};

// A name whose extension the shell runs as a program or script.
bool RunsWhenOpened(const std::string& path) {
  const std::string name = FoldedPath(FileNameOf(path));
  // The shell goes by the text after the last dot; trailing dots and spaces
  // are dropped from names by the file system.
  std::string trimmed = name;
  while (!trimmed.empty() && (trimmed.back() == '.' || trimmed.back() == ' ')) trimmed.pop_back();
  const size_t dot = trimmed.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string extension = trimmed.substr(dot);
  for (const char* running : kRunningExtensions) {
    if (extension == running) return true;
  }
  return false;
}

}  // namespace

ViewAction ViewActionOf(const std::string& path) {
  if (RunsWhenOpened(path) || !PictureLoader::Recognises(path.c_str())) return ViewAction::kShowInFolder;
  return ViewAction::kOpenFile;
}

}  // namespace tulvex
