// Feeds arbitrary bytes to the WebP reader as a file. libwebp is fuzzed
// upstream; this checks the glue around it: the signature, canvas and frame
// checks, the decoder's estimate against the memory budget, the metadata
// chunks and the first frame laid on its canvas. The budget is made small
// enough that no accepted input decodes beyond the fuzzer's memory limit.
#include "fuzz/fuzz_input_file.h"
#include "imaging/memory_budget.h"
#include "imaging/readers/webp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool budget_set = [] {
    PictureMemoryBudget().SetCapacity(uint64_t{256} << 20);
    return true;
  }();
  (void)budget_set;
  if (!WriteFuzzInput(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  WebpReader reader;
  RunReader(reader);
  return 0;
}
