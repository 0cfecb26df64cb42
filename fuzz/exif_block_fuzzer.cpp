// Feeds arbitrary bytes to the EXIF helpers as a HEIF item or WebP chunk
// would hold them: the block is found, and marking it upright changes at
// most its Orientation value, never its size, and nothing when it fails.
#include <cstdlib>
#include <string>

#include "imaging/readers/exif_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string block = ExifBlockFromPayload(data, size);
  const std::string before = block;
  const bool marked = MarkExifUpright(&block);
  if (block.size() != before.size() || (!marked && block != before)) std::abort();
  return 0;
}
