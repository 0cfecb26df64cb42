// The keys by which a conversion run tells that two of its rows touch one
// file (app/row_schedule.h). A path has a name key, its full path in long
// form with ASCII letters folded, which matches another case, "." and ".."
// pieces, "/" and 8.3 names of its folders; a file that exists has an
// identity key too, its volume and file index, which matches every other
// name of it (an 8.3 name of the file itself, a hard link).
#pragma once

#include <string>
#include <vector>

namespace tulvex {

std::vector<std::string> FileKeysOf(const std::string& path);

}  // namespace tulvex
