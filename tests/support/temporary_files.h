// Finds the engine's backing files (CSWCLASS*.tmp) in the temporary folder,
// so that tests can tell whether a case left one behind.
#pragma once

#include <set>
#include <string>

// Names of the backing files present right now.
std::set<std::string> TemporaryBackingFiles();

// Takes a snapshot at construction; Leftovers() names the backing files that
// appeared since and are still there.
class TemporaryFileWatch {
 public:
  TemporaryFileWatch() : before_(TemporaryBackingFiles()) {}
  std::string Leftovers() const;

 private:
  std::set<std::string> before_;
};
