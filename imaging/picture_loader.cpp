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

int PictureLoader::Load(const char* path, PictureBuffer* buffer, const Admission& admit) {
  if (!PathExists(path)) return -1;
  JpegCodec jpeg;
  BmpReader bmp;
  TiffReader tiff;
  PngReader png;
  PcxReader pcx;
  PcdReader pcd(2);
  PictureReader* const readers[] = {&jpeg, &bmp, &tiff, &png, &pcx, &pcd};

  int result = -3;
  for (PictureReader* reader : readers) {
    if (!reader->Open(path, buffer, nullptr)) continue;
    if (admit) admit(reader->Plan());
    result = reader->Decode() ? 1 : -3;
    break;
  }
  // Every reader lets go of its file and decoder state before we return.
  for (PictureReader* reader : readers) reader->Reset();
  return result;
}
