// Feeds arbitrary bytes to the whole loader (every reader in order, the
// libjpeg, libpng and libtiff ones included) both ways a picture is
// converted: decoded whole and written from the buffer, so that the writer
// sees every layout the readers produce, and streamed strip by strip
// through the conversion the program runs.
#include <cstdio>
#include <memory>
#include <string>

#include "fuzz/fuzz_input_file.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_conversion.h"
#include "imaging/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteFuzzInput(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  const char* input = FuzzInputPath().c_str();
  // Small pictures only: encoding a large one teaches the fuzzer nothing new.
  std::unique_ptr<PictureReader> reader;
  if (PictureLoader::OpenReader(input, &reader) == kLoaderAccepted &&
      static_cast<int64_t>(reader->description().width) * reader->description().height > 512 * 512)
    return 0;
  reader.reset();

  static const std::string output = FuzzInputPath() + ".jpg";
  PictureBuffer buffer;
  PictureLoader loader;
  if (loader.Load(input, &buffer) == kLoaderAccepted) {
    JpegCodec writer;
    writer.Write(output.c_str(), buffer, 75, static_cast<int32_t>(size & 1), 1, 0, nullptr);
  }
  ConversionRequest request;
  request.source = input;
  request.destination = output.c_str();
  request.settings.quality = 75;
  request.settings.grayscale = (size & 2) != 0;
  ConvertPicture(request);
  std::remove(output.c_str());
  return 0;
}
