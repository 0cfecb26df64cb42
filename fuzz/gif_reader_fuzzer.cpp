// Feeds arbitrary bytes to the GIF reader, and so to its LZW decoder, as a
// file.
#include "fuzz/fuzz_input_file.h"
#include "imaging/readers/gif_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzInput(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  GifReader reader;
  RunReader(reader);
  return 0;
}
