// Feeds arbitrary bytes to the HEIF and AVIF reader as a file. libheif is
// fuzzed upstream; this checks the glue around it: the brand and size
// checks, the decoder's estimate against the memory budget, the EXIF item's
// offset, the profile and the copy of deep and alpha rows. The budget is
// made small enough that no accepted input decodes beyond the fuzzer's
// memory limit.
#include "fuzz/fuzz_input_file.h"
#include "imaging/memory_budget.h"
#include "imaging/readers/heif_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool budget_set = [] {
    PictureMemoryBudget().SetCapacity(uint64_t{256} << 20);
    return true;
  }();
  (void)budget_set;
  if (!WriteFuzzInput(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  HeifReader reader;
  RunReader(reader);
  return 0;
}
