// Feeds arbitrary bytes to the WebP reader as a file. libwebp is fuzzed
// upstream; this checks the glue around it: the signature, canvas and frame
// checks, the decoder's estimate against the memory budget, the metadata
// chunks and the first frame laid on its canvas.
#include "fuzz/fuzz_input_file.h"
#include "imaging/readers/webp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzBudgetedReader<WebpReader>(data, size);
}
