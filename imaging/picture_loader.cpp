// The loader is a list of readers in order, nothing more: the first whose
// Open accepts the file decides the result.
#include "imaging/picture_loader.h"

#include "imaging/jpeg_codec.h"
#include "imaging/path_probe.h"
#include "imaging/readers/bmp_reader.h"
#include "imaging/readers/gif_reader.h"
#include "imaging/readers/heif_reader.h"
#include "imaging/readers/pcd_reader.h"
#include "imaging/readers/pcx_reader.h"
#include "imaging/readers/png_reader.h"
#include "imaging/readers/tiff_reader.h"
#include "imaging/readers/webp_reader.h"

namespace {

template <typename Reader>
std::unique_ptr<PictureReader> Make() {
  return std::unique_ptr<PictureReader>(new Reader);
}
std::unique_ptr<PictureReader> MakePhotoCdReader() { return std::unique_ptr<PictureReader>(new PcdReader(2)); }

// The order of tries.
using ReaderMaker = std::unique_ptr<PictureReader> (*)();
constexpr ReaderMaker kReaders[] = {Make<JpegCodec>, Make<BmpReader>, Make<TiffReader>, Make<PngReader>,
                                    Make<GifReader>, Make<WebpReader>, Make<HeifReader>, Make<PcxReader>, MakePhotoCdReader};

}  // namespace

int PictureLoader::OpenReader(const char* path, std::unique_ptr<PictureReader>* reader,
                              const CancelRequest& cancel) {
  reader->reset();
  if (!PathExists(path)) return kLoaderNoFile;
  for (ReaderMaker make : kReaders) {
    std::unique_ptr<PictureReader> candidate = make();
    if (candidate->Open(path, cancel)) {
      *reader = std::move(candidate);
      return kLoaderAccepted;
    }
  }
  return kLoaderNoReader;
}

int PictureLoader::Load(const char* path, PictureBuffer* buffer) {
  std::unique_ptr<PictureReader> reader;
  const int opened = OpenReader(path, &reader);
  if (opened != kLoaderAccepted) return opened;
  return ReadWholePictureInto(*reader, buffer) ? kLoaderAccepted : kLoaderNoReader;
}

bool ReadWholePictureInto(PictureReader& reader, PictureBuffer* buffer) {
  const PictureDescription& picture = reader.description();
  if (!reader.Prepare()) {
    reader.Reset();
    return false;
  }
  const int32_t bits = BytesPerPixel(picture.layout) * 8;
  const int32_t palette_count = picture.layout == PixelLayout::kPalette8 ? picture.palette_count : 0;
  if (!buffer->Allocate(picture.width, picture.height, bits, palette_count)) {
    reader.Reset();
    return false;
  }
  for (int i = 0; i < palette_count; ++i) buffer->palette()[i] = picture.palette[i];
  const bool read = reader.ReadWholePicture(buffer->pixels(), buffer->stride());
  reader.Reset();
  return read;
}

bool PictureLoader::Recognises(const char* path) {
  // Open reads the signature and header only; the reader lets go of the
  // file when it goes.
  std::unique_ptr<PictureReader> reader;
  return OpenReader(path, &reader) == kLoaderAccepted;
}
