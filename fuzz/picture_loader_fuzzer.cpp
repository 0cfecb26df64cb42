// Feeds arbitrary bytes to the whole loader (every reader in order, the
// libjpeg, libpng and libtiff ones included) and writes what it decodes as
// a JPEG, so that the writer sees every depth the readers produce.
#include <cstdio>
#include <string>

#include "fuzz/fuzz_input_file.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzInput(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  PictureBuffer buffer;
  PictureLoader loader;
  if (loader.Load(FuzzInputPath().c_str(), &buffer) != 1) return 0;
  // Small pictures only: encoding a large one teaches the fuzzer nothing new.
  if (static_cast<int64_t>(buffer.width()) * buffer.height() > 512 * 512) return 0;
  static const std::string output = FuzzInputPath() + ".jpg";
  JpegCodec writer;
  writer.Write(output.c_str(), buffer, 75, static_cast<int32_t>(size & 1), 1, 0, nullptr);
  std::remove(output.c_str());
  return 0;
}
