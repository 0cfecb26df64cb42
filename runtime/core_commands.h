// The core library's commands, all of the command shape (result, count,
// args), and the one table that names them. Texts are GBK with 1-based byte
// positions; searches step over a double-byte character as one unit.
// Results are new heap blocks owned by the caller; arguments are lent.
//
// Part of the runtime's public surface (runtime/README.md).
#pragma once

#include <cstddef>

#include "runtime/value.h"

// Controls and the runtime.
void GetControlWindowHandle(Value* result, int32_t count, const Value* args);
void GetProgramDirectory(Value* result, int32_t count, const Value* args);  // runtime query 2003
void GetRunMode(Value* result, int32_t count, const Value* args);  // runtime query 2018
void PopUpMenu(Value* result, int32_t count, const Value* args);  // runtime/windows/popup_menu.cpp

// Numbers.
void BitwiseOr(Value* result, int32_t count, const Value* args);

// Texts.
void LeftOfText(Value* result, int32_t count, const Value* args);
void RightOfText(Value* result, int32_t count, const Value* args);
void FindInText(Value* result, int32_t count, const Value* args);
void TrimBothEnds(Value* result, int32_t count, const Value* args);
void TextOfSpaces(Value* result, int32_t count, const Value* args);
void SplitText(Value* result, int32_t count, const Value* args);

// Conversions.
void ToText(Value* result, int32_t count, const Value* args);
void ToNumber(Value* result, int32_t count, const Value* args);
void ToByteSet(Value* result, int32_t count, const Value* args);

// Byte sets.
void ZeroBytes(Value* result, int32_t count, const Value* args);
void LeftOfBytes(Value* result, int32_t count, const Value* args);
void FindInBytes(Value* result, int32_t count, const Value* args);
void ReplaceInBytes(Value* result, int32_t count, const Value* args);

// Settings files.
void ReadSettingsItem(Value* result, int32_t count, const Value* args);
void WriteSettingsItem(Value* result, int32_t count, const Value* args);

// The separator split text uses when none is given.
constexpr char kDefaultSplitSeparator[] = ",";

struct CoreCommand {
  const char* name;
  Command command;
};

extern const CoreCommand kCoreCommands[];
extern const size_t kCoreCommandCount;

// The command of that name; null when there is none.
Command FindCoreCommand(const char* name);
