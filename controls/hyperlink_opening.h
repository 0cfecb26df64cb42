// Opening a hyperlink's target: through the shell, and when the shell
// cannot, through the browser registered for ".htm" files.
#pragma once

#include <windows.h>

#include <string>

#include "controls/hyperlink.h"

// What a click opens: the web address for a web link, "mailto:" and the
// address for an e-mail link; empty when the address is empty.
std::string HyperlinkTarget(LinkType type, const std::string& email, const std::string& web);

// The registered browser's command line for `target`: `registered` cut at
// its first quoted "%1" (at the opening quote), else at its first bare
// "%1", else kept whole; then a blank and the target.
std::string BrowserCommandLine(const std::string& registered, const std::string& target);

// The open command of the ".htm" class under `classes_root` (at most 260
// bytes); false when the class or its command is missing, or the command
// is longer (a cut command line would run something else).
bool RegisteredBrowserCommand(HKEY classes_root, std::string* command);

// Opens `target` with show command SW_SHOW; true when the last call made
// (ShellExecuteA, or WinExec of the fallback) reported success (> 32).
bool OpenHyperlinkTarget(const std::string& target);
