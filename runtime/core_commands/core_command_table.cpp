// The core library's command table: every core command by name.
#include <cstring>

#include "runtime/core_commands.h"

const CoreCommand kCoreCommands[] = {
    {"window handle of control", GetControlWindowHandle},
    {"program directory", GetProgramDirectory},
    {"run mode", GetRunMode},
    {"bitwise or", BitwiseOr},
    {"left of text", LeftOfText},
    {"right of text", RightOfText},
    {"find text", FindInText},
    {"trim both ends", TrimBothEnds},
    {"text of spaces", TextOfSpaces},
    {"split text", SplitText},
    {"to text", ToText},
    {"to number", ToNumber},
    {"to byte set", ToByteSet},
    {"zero bytes", ZeroBytes},
    {"left of bytes", LeftOfBytes},
    {"find bytes", FindInBytes},
    {"replace bytes", ReplaceInBytes},
    {"read settings item", ReadSettingsItem},
    {"write settings item", WriteSettingsItem},
    {"pop up menu", PopUpMenu},
};

const size_t kCoreCommandCount = sizeof kCoreCommands / sizeof kCoreCommands[0];

Command FindCoreCommand(const char* name) {
  for (const CoreCommand& entry : kCoreCommands) {
    if (std::strcmp(entry.name, name) == 0) return entry.command;
  }
  return nullptr;
}
