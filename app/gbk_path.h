// Path pieces of GBK texts. A GBK lead byte (0x81..0xFE) is followed by a
// trail byte that may be any of 0x40..0xFE, "\" (0x5C) included, so a path
// is split only at separators that start a character of their own.
#pragma once

#include <string>

namespace tulvex {

// Byte index of the last "\" that is a character of its own; npos if none.
size_t LastSeparatorOf(const std::string& path);

// The piece after the last "\" (the whole text without one).
std::string FileNameOf(const std::string& path);

// Everything before the last "\" (empty without one): the folder that
// holds the file.
std::string FolderOf(const std::string& path);

// The path with ASCII letters folded to lower case, double-byte
// characters left as they are: two paths that name the same file compare
// equal (Windows names are case-insensitive).
std::string FoldedPath(const std::string& path);

}  // namespace tulvex
