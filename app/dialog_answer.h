// The open-file dialog's answer as a list of full paths. With one file the
// buffer holds its full path; with several, the folder and then each file
// name, every piece NUL-terminated and the last followed by a second NUL.
// Paths stay a list: a file name may contain ";" or any other character
// that separated them once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tulvex {

// The answer buffer handed to the dialog: room for thousands of names.
inline constexpr size_t kDialogAnswerBytes = size_t{1} << 20;

// `size` bounds the read; an answer without its closing NUL pair ends at
// the buffer's end. An empty buffer (cancelled dialog) gives no path.
std::vector<std::string> PathsOfDialogAnswer(const char* buffer, size_t size);

}  // namespace tulvex
