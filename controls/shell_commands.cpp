// ShellExecuteCommand and OpenWebPage: their arguments mapped to one
// ShellExecuteA call each.
#include "controls/shell_commands.h"

#include <windows.h>
#include <shellapi.h>

#include "controls/command_arguments.h"

using controls::IntegerArgument;
using controls::IsGiven;
using controls::TextArgument;

const char kDefaultWebAddress[] = "https://tulvex.example.com/";

namespace {

// Entry `number` of a table the command's callers number from 1; null for
// a number outside it.
template <typename Entry, size_t kCount>
const Entry* NumberedEntry(const Entry (&table)[kCount], int32_t number) {
  return number >= 1 && static_cast<size_t>(number) <= kCount ? &table[number - 1] : nullptr;
}

}  // namespace

const char* ShellVerbOf(int32_t operation) {
  static const char* const kVerbs[] = {"edit", "explore", "find", "open", "print"};
  const char* const* verb = NumberedEntry(kVerbs, operation);
  return verb ? *verb : nullptr;
}

int ShowCommandOf(int32_t window_state) {
  static const int kShowCommands[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED,
                                      SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE};
  const int* show = NumberedEntry(kShowCommands, window_state);
  return show ? *show : SW_SHOWNORMAL;
}

ShellRequest ShellRequestOf(int32_t count, const Value* args) {
  ShellRequest request;
  request.verb = ShellVerbOf(IntegerArgument(count, args, 0, 0));
  request.file = TextArgument(count, args, 1);
  request.parameters = IsGiven(count, args, 2) ? TextArgument(count, args, 2) : nullptr;
  request.directory = TextArgument(count, args, 3);
  // The window state, the last argument, counts only when it was passed.
  request.show = IsGiven(count, args, 4) ? ShowCommandOf(IntegerArgument(count, args, 4, 0)) : SW_SHOWNORMAL;
  return request;
}

void ShellExecuteCommand(Value*, int32_t count, const Value* args) {
  const ShellRequest request = ShellRequestOf(count, args);
  ShellExecuteA(nullptr, request.verb, request.file, request.parameters, request.directory, request.show);
}

void OpenWebPage(Value*, int32_t count, const Value* args) {
  const char* address = TextArgument(count, args, 0, kDefaultWebAddress);
  // A running browser window, when there is one, owns whatever the shell shows.
  const HWND browser = FindWindowA(nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(browser, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}
