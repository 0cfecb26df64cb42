// The main of every test program. CTest runs test programs (and, natively,
// single test cases) side by side, so each process gets a scratch root and a
// temporary folder of its own: cases never remove each other's files, and a
// count of backing files in the temporary folder sees only this process's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/address_space.h"
#include "tests/support/scratch_folder.h"

namespace {

void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv((std::string(name) + "=" + value).c_str());  // also sets the process environment
#else
  setenv(name, value.c_str(), 1);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  ReserveLowAddressSpace();  // 64-bit builds: a pointer cut to 32 bits faults
  testing::InitGoogleTest(&argc, argv);
  const std::string temporary = CreateProcessScratchRoot();
#ifdef _WIN32
  SetEnvironment("TMP", temporary);
  SetEnvironment("TEMP", temporary);
#else
  SetEnvironment("TMPDIR", temporary);
#endif
  const int result = RUN_ALL_TESTS();
  RemoveProcessScratchRoot();
  return result;
}
