// Whether a directory entry matches a path: the loader's existence test,
// made before any reader runs. A folder matches too.
#pragma once

bool PathExists(const char* path);
