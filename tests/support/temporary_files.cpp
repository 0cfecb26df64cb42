#include "tests/support/temporary_files.h"

#include <filesystem>
#include <system_error>

#include "imaging/mapped_block.h"

namespace fs = std::filesystem;

std::set<std::string> TemporaryBackingFiles() {
  std::set<std::string> names;
  const std::string prefix = kTemporaryPrefix;
  std::error_code error;
  for (fs::directory_iterator it(MappedBlock::TemporaryFolder(), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0 && name.size() > 4 &&
        name.compare(name.size() - 4, 4, ".tmp") == 0)
      names.insert(name);
  }
  return names;
}

std::string TemporaryFileWatch::Leftovers() const {
  std::string list;
  for (const std::string& name : TemporaryBackingFiles())
    if (before_.count(name) == 0) list += (list.empty() ? "" : " ") + name;
  return list;
}
