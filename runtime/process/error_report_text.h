// The texts of the runtime error report: the coded messages of service slot 0
// and the body of the message box, kept apart from the report itself so that
// they can be checked without ending a process.
#pragma once

#include <cstdint>
#include <string>

// The message of runtime error `code` (1..11); null for any other code.
const char* CodedErrorMessage(int32_t code);

// "运行时出错!" and blank lines, then the code line when `code` is not 0 and
// the message line when `message` is neither null nor empty.
std::string BuildErrorReportText(const char* message, int32_t code);
