// Feeds arbitrary bytes to the Photo CD reader. An image pac is over 1 MiB
// with a mark at 2048, far beyond what a fuzzer mutates well, so the input
// is laid into such a file: its first byte picks the resolution, the rest
// lands where that resolution's rows start. The raw input is tried as a
// file too.
#include <algorithm>

#include "fuzz/fuzz_input_file.h"
#include "imaging/readers/pcd_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  if (WriteFuzzInput(raw)) {
    PcdReader reader;
    RunReader(reader);
  }
  if (size == 0) return 0;

  const int resolution = data[0] % 3;
  const size_t offset = static_cast<size_t>(PcdReader::OffsetOf(resolution));
  std::string pac(offset, '\0');
  pac.replace(static_cast<size_t>(PcdReader::kSignatureOffset), 7, "PCD_IPI");
  pac.append(raw, 1, std::string::npos);
  const size_t smallest = static_cast<size_t>(PcdReader::kSmallestPacSize) + 1;
  pac.resize(std::max(pac.size(), smallest), '\0');
  if (WriteFuzzInput(pac)) {
    PcdReader reader(resolution);
    RunReader(reader);
  }
  return 0;
}
