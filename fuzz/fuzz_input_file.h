// The readers take paths, so each fuzz input is written to a file of this
// process's own in the temporary folder, overwritten for every input.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <unistd.h>

#include "imaging/memory_budget.h"
#include "imaging/picture_loader.h"
#include "imaging/readers/picture_reader.h"

// The path of this process's input file; removed when the process ends.
inline const std::string& FuzzInputPath() {
  static const std::string path = [] {
    const char* folder = std::getenv("TMPDIR");
    std::string name = (folder != nullptr && *folder != '\0') ? folder : "/tmp";
    name += "/tulvex-fuzz-" + std::to_string(getpid()) + ".bin";
    std::atexit([] { std::remove(FuzzInputPath().c_str()); });
    return name;
  }();
  return path;
}

// Writes the input file; false when the file cannot be
// written (then the input is skipped).
inline bool WriteFuzzInput(const std::string& bytes) {
  FILE* file = std::fopen(FuzzInputPath().c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// Where decoded pixels are summed into, so the reads are not optimised away.
inline volatile uint8_t fuzz_sink = 0;

// Runs one reader over the input file twice: as a whole picture, the way
// the loader does, and in strips of uneven heights, the way a conversion
// does. Every row is touched end to end so that a wrong size shows up as an
// out-of-bounds access.
inline void RunReader(PictureReader& reader) {
  PictureBuffer buffer;
  if (reader.Open(FuzzInputPath().c_str()) && ReadWholePictureInto(reader, &buffer)) {
    uint8_t sum = 0;
    for (int32_t y = 0; y < buffer.height(); ++y) sum ^= buffer.row(y)[buffer.stride() - 1];
    fuzz_sink = sum;
  }
  if (!reader.Open(FuzzInputPath().c_str())) return;
  const PictureDescription& picture = reader.description();
  // Strips of 1, 2, 3 ... rows, exactly as large as asked.
  std::vector<uint8_t> strip;
  for (int32_t rows = 1; reader.rows_read() < picture.height; ++rows) {
    const int32_t count = std::min(rows, picture.height - reader.rows_read());
    strip.assign(picture.stride() * static_cast<size_t>(count), 0);
    if (!reader.ReadRows(strip.data(), picture.stride(), count)) break;
    fuzz_sink = static_cast<uint8_t>(fuzz_sink ^ strip.back());
  }
  reader.Reset();
}

// One input through a reader whose library decodes whole pictures, with the
// memory budget made small enough that no accepted input decodes beyond the
// fuzzer's memory limit.
template <typename Reader>
int FuzzBudgetedReader(const uint8_t* data, size_t size) {
  static const bool budget_set = [] {
    PictureMemoryBudget().SetCapacity(uint64_t{256} << 20);
    return true;
  }();
  (void)budget_set;
  if (!WriteFuzzInput(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  Reader reader;
  RunReader(reader);
  return 0;
}
