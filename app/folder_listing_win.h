// The folder listing of the folder scan on Windows: FindFirstFileA over
// "<folder>\*.*", with each entry's folder and reparse-point attributes.
#pragma once

#include <string>
#include <vector>

#include "app/folder_scan.h"

namespace tulvex {

std::vector<FolderEntry> ListFolderEntries(const std::string& folder);

}  // namespace tulvex
