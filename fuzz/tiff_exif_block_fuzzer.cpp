// Feeds arbitrary bytes, as a TIFF file, to the EXIF block maker. A block it
// makes is itself a TIFF structure of the same kind: made into a block
// again, it must come out byte for byte the same, or the offsets it wrote
// were wrong.
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input_file.h"
#include "imaging/readers/tiff_exif_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzInput(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  const std::string block = ExifBlockOfTiffFile(FuzzInputPath().c_str());
  if (block.empty()) return 0;
  if (block.size() > kMaxExifBlockBytes || !WriteFuzzInput(block)) std::abort();
  if (ExifBlockOfTiffFile(FuzzInputPath().c_str()) != block) std::abort();
  return 0;
}
