// Feeds arbitrary bytes to the HEIF and AVIF reader as a file. libheif is
// fuzzed upstream; this checks the glue around it: the brand and size
// checks, the decoder's estimate against the memory budget, the EXIF item's
// offset, the profile and the copy of deep and alpha rows.
#include "fuzz/fuzz_input_file.h"
#include "imaging/readers/heif_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzBudgetedReader<HeifReader>(data, size);
}
