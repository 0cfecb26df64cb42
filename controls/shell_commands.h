// Opening things through the shell: a file with a chosen verb and window
// state, or a web address in the user's browser. The shell's answer is not
// passed back; whatever it shows on failure is all the user sees.
//
//   ShellExecuteCommand(operation 1..5, target, [parameters], [directory],
//                       [window state 1..6])                      -> nothing
//   OpenWebPage([address])                                        -> nothing
#pragma once

#include <cstdint>

#include "runtime/value.h"

void ShellExecuteCommand(Value* result, int32_t count, const Value* args);
void OpenWebPage(Value* result, int32_t count, const Value* args);

// The verb of an operation number; null (the target's default verb) for
// any number outside 1..5.
const char* ShellVerbOf(int32_t operation);
// The show command of a window state number; SW_SHOWNORMAL for any number
// outside 1..6.
int ShowCommandOf(int32_t window_state);

// What ShellExecuteCommand hands to the shell for its arguments.
struct ShellRequest {
  const char* verb;  // null: the default verb
  const char* file;
  const char* parameters;  // null: none
  const char* directory;   // "" when omitted
  int show;
};
ShellRequest ShellRequestOf(int32_t count, const Value* args);

// The address OpenWebPage opens when it is given none.
extern const char kDefaultWebAddress[];
