// Feeds arbitrary bytes to the PCX reader as a file.
#include "fuzz/fuzz_input_file.h"
#include "imaging/readers/pcx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzInput(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  PcxReader reader;
  RunReader(reader);
  return 0;
}
