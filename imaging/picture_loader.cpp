// The loader is a list of readers in order, nothing more: the first whose
// Open accepts the file decides the result with its Decode.
#include "imaging/picture_loader.h"

#include "imaging/jpeg_codec.h"
#include "imaging/path_probe.h"
#include "imaging/readers/bmp_reader.h"
#include "imaging/readers/pcd_reader.h"
#include "imaging/readers/pcx_reader.h"
#include "imaging/readers/png_reader.h"
#include "imaging/readers/tiff_reader.h"

namespace {

// The readers in the order they are tried; each lets go of its file and
// decoder state when the set goes.
struct ReaderSet {
  JpegCodec jpeg;
  BmpReader bmp;
  TiffReader tiff;
  PngReader png;
  PcxReader pcx;
  PcdReader pcd{2};
  PictureReader* const readers[6] = {&jpeg, &bmp, &tiff, &png, &pcx, &pcd};

  ~ReaderSet() {
    for (PictureReader* reader : readers) reader->Reset();
  }
};

}  // namespace

int PictureLoader::Load(const char* path, PictureBuffer* buffer, const Admission& admit) {
  if (!PathExists(path)) return -1;
  ReaderSet set;
  for (PictureReader* reader : set.readers) {
    if (!reader->Open(path, buffer, nullptr)) continue;
    if (admit) admit(reader->Plan());
    return reader->Decode() ? 1 : -3;
  }
  return -3;
}

bool PictureLoader::Recognises(const char* path) {
  if (!PathExists(path)) return false;
  ReaderSet set;
  PictureBuffer untouched;  // Open only reads the header
  for (PictureReader* reader : set.readers) {
    if (reader->Open(path, &untouched, nullptr)) return true;
  }
  return false;
}
