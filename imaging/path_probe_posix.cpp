#include "imaging/path_probe.h"

#include <sys/stat.h>

bool PathExists(const char* path) {
  struct stat status;
  return path != nullptr && *path != '\0' && stat(path, &status) == 0;
}
