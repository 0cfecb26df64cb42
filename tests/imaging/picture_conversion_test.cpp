// ConvertPicture lets rows flow from the reader to the writer; loading the
// whole picture and then writing it is the engine's earlier way, still the
// path of formats that need the whole picture. Every picture of the test
// corpus must give the same result code and the same bytes both ways, in
// colour and in grayscale, with the decoding on the converting thread and on
// a helper thread.
#include "imaging/picture_conversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "imaging/convert_command.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_loader.h"
#include "tests/support/core_count.h"
#include "tests/support/sample_pictures.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

// The whole-picture way, through the loader and the buffer writer, with
// the reader's metadata.
int32_t ConvertWhole(const std::string& source, const std::string& destination, bool grayscale) {
  std::unique_ptr<PictureReader> reader;
  const int opened = PictureLoader::OpenReader(source.c_str(), &reader);
  if (opened != 1) return opened == -1 ? kConvertSourceMissing : kConvertUnreadable;
  const std::vector<MetadataBlock> metadata = reader->description().metadata;
  PictureBuffer picture;
  if (!ReadWholePictureInto(*reader, &picture)) return kConvertUnreadable;
  JpegCodec writer;
  return writer.Write(destination.c_str(), picture, 100, grayscale ? 0 : 1, 1, 0, nullptr, CancelRequest(),
                      metadata) == 1
             ? kConvertSucceeded
             : kConvertEncodeFailed;
}

void AddFolder(const std::string& folder, std::vector<std::string>* paths) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file()) paths->push_back(it->path().string());
}

}  // namespace

TEST(PictureConversion, StreamedAndWholePictureGiveTheSameBytes) {
  ScratchFolder folder("picture_conversion");
  TemporaryFileWatch watch;
  // Sizes whose rows span several strips, none a multiple of the strip, and
  // one-row pictures.
  std::vector<std::string> corpus = WriteSamplePictures(folder, "tall-", 700, 401);
  for (const std::string& path : WriteSamplePictures(folder, "row-", 13, 1)) corpus.push_back(path);
  AddFolder(TULVEX_CRASHERS_DIR, &corpus);
  const std::string third_party = TULVEX_TEST_IMAGES_DIR;
  if (!third_party.empty()) {
    AddFolder(third_party + "/pngsuite", &corpus);
    AddFolder(third_party + "/tiff", &corpus);
  }

  const std::string whole = folder.File("whole.jpg"), streamed = folder.File("streamed.jpg");
  int converted = 0;
  for (size_t i = 0; i < corpus.size(); ++i) {
    const std::string& source = corpus[i];
    for (bool grayscale : {false, true}) {
      // Each picture decodes once on the converting thread and once on a
      // helper thread, one in colour and the other in grayscale.
      const int cores = 1 + static_cast<int>((i + grayscale) % 2);
      SCOPED_TRACE(::testing::Message() << source << (grayscale ? ", grayscale" : ", colour") << ", " << cores
                                        << " processors");
      std::remove(whole.c_str());
      std::remove(streamed.c_str());
      const int32_t want = ConvertWhole(source, whole, grayscale);
      CoreCount count(cores);
      ConversionRequest request;
      request.source = source.c_str();
      request.destination = streamed.c_str();
      request.settings.grayscale = grayscale;
      ASSERT_EQ(ConvertPicture(request), want);
      if (want != kConvertSucceeded) continue;
      EXPECT_TRUE(ReadFileBytes(streamed) == ReadFileBytes(whole)) << "the JPEG files differ";
      ++converted;
    }
  }
  EXPECT_GT(converted, 50);
  EXPECT_EQ(watch.Leftovers(), "") << "backing files left behind";
}
