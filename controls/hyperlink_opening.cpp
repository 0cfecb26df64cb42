// ShellExecuteA first; the registry fallback reads the ".htm" class and its
// open command, and runs that command line with WinExec.
#include "controls/hyperlink_opening.h"

#include <windows.h>
#include <shellapi.h>

namespace {

constexpr size_t kMaxCommandBytes = 260;
// ShellExecuteA and WinExec answer a value above this one on success, an
// error code up to it on failure.
constexpr INT_PTR kLastFailureCode = 32;

// A key's default value; false when it is missing, not text, or longer than
// `limit` bytes (a cut command line would run something else).
bool ReadDefaultValue(HKEY root, const std::string& subkey, size_t limit, std::string* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  std::string buffer(limit + 1, '\0');
  LONG size = static_cast<LONG>(buffer.size());
  const LONG status = RegQueryValueA(key, nullptr, &buffer[0], &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || size <= 0) return false;
  // The size counts the NUL when the value has one; text stops at the first.
  buffer.resize(static_cast<size_t>(size));
  const size_t end = buffer.find('\0');
  if (end != std::string::npos) buffer.resize(end);
  if (buffer.empty()) return false;
  *value = buffer;
  return true;
}

}  // namespace

bool RegisteredBrowserCommand(HKEY classes_root, std::string* command) {
  std::string html_class;
  if (!ReadDefaultValue(classes_root, ".htm", MAX_PATH, &html_class)) return false;
  return ReadDefaultValue(classes_root, html_class + "\\shell\\open\\command", kMaxCommandBytes, command);
}

std::string HyperlinkTarget(LinkType type, const std::string& email, const std::string& web) {
  if (type == LinkType::kWeb) return web;
  return email.empty() ? std::string() : "mailto:" + email;
}

std::string BrowserCommandLine(const std::string& registered, const std::string& target) {
  size_t cut = registered.find("\"%1\"");
  if (cut == std::string::npos) cut = registered.find("%1");
  std::string command = registered.substr(0, cut);
  return command + " " + target;
}

bool OpenHyperlinkTarget(const std::string& target) {
  if (target.empty()) return false;
  const auto shell_result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW));
  if (shell_result > kLastFailureCode) return true;
  std::string registered;
  if (!RegisteredBrowserCommand(HKEY_CLASSES_ROOT, &registered)) return false;
  const std::string command = BrowserCommandLine(registered, target);
  return WinExec(command.c_str(), SW_SHOW) > kLastFailureCode;
}
