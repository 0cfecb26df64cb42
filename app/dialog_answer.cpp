// Parsing the open-file dialog's answer (see dialog_answer.h).
#include "app/dialog_answer.h"

#include "app/folder_scan.h"

namespace tulvex {

std::vector<std::string> PathsOfDialogAnswer(const char* buffer, size_t size) {
  std::vector<std::string> pieces;
  size_t at = 0;
  while (at < size && buffer[at] != '\0') {
    size_t end = at;
    while (end < size && buffer[end] != '\0') ++end;
    pieces.emplace_back(buffer + at, end - at);
    at = end + 1;
  }
  if (pieces.size() <= 1) return pieces;
  // The first piece is the folder; the dialog ends it with "\" only at a
  // drive's root.
  const std::string folder = WithTrailingSeparator(pieces.front());
  std::vector<std::string> paths;
  for (size_t i = 1; i < pieces.size(); ++i) paths.push_back(folder + pieces[i]);
  return paths;
}

}  // namespace tulvex
