// Making the folder a run saves into: a folder typed by hand may not exist
// yet, and neither may the folders above it.
#pragma once

#include <string>

namespace tulvex {

// True when `folder` is a folder now: it was there, or it was made together
// with every missing folder above it. False when it cannot be (a file of
// that name, a drive that is not there, no right to write).
bool MakeFolderWithParents(const std::string& folder);

}  // namespace tulvex
