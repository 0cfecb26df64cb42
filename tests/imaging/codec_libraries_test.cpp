// Proves that the codec libraries of the newer formats link into this build
// and work as configured: the headers match the libraries, the static
// libheif carries its HEVC and AV1 decoders, and libjpeg codes arithmetic and
// progressive scans.
#include <gif_lib.h>
#include <lcms2.h>
#include <libheif/heif.h>
#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/library_format_files.h"
#include "tests/support/scratch_folder.h"

namespace {

TEST(CodecLibraries, GifRoundTripsPaletteIndices) {
  ScratchFolder folder("codec_libraries_gif");
  const std::string path = folder.File("indices.gif");
  const GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  std::vector<GifPixelType> indices = {0, 1, 2, 3, 3, 2, 1, 0};
  int error = 0;
  GifFileType* writer = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(writer, nullptr) << GifErrorString(error);
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EXPECT_TRUE(EGifPutScreenDesc(writer, 4, 2, 2, 0, map) == GIF_OK &&
              EGifPutImageDesc(writer, 0, 0, 4, 2, false, nullptr) == GIF_OK &&
              EGifPutLine(writer, indices.data(), 8) == GIF_OK);
  EXPECT_EQ(EGifCloseFile(writer, &error), GIF_OK) << GifErrorString(error);
  GifFreeMapObject(map);

  GifFileType* reader = DGifOpenFileName(path.c_str(), &error);
  ASSERT_NE(reader, nullptr) << GifErrorString(error);
  ASSERT_EQ(DGifSlurp(reader), GIF_OK) << GifErrorString(reader->Error);
  const GifPixelType* raster = reader->SavedImages[0].RasterBits;
  EXPECT_EQ(std::vector<GifPixelType>(raster, raster + 8), indices);
  DGifCloseFile(reader, &error);
}

TEST(CodecLibraries, HeadersMatchTheLibrariesAndHeifHasHevcAndAv1Decoders) {
  EXPECT_EQ(cmsGetEncodedCMMversion(), LCMS_VERSION);
  EXPECT_EQ(heif_get_version_number(), static_cast<uint32_t>(LIBHEIF_NUMERIC_VERSION));
  EXPECT_EQ(WebPGetDemuxVersion(), WebPGetDecoderVersion());
  // The static libheif registers its compiled-in decoders itself, at start-up.
  ASSERT_EQ(heif_init(nullptr).code, heif_error_Ok);
  EXPECT_TRUE(heif_have_decoder_for_format(heif_compression_HEVC)) << "want the HEVC decoder built in";
  EXPECT_TRUE(heif_have_decoder_for_format(heif_compression_AV1)) << "want the AV1 decoder built in";
  heif_deinit();
}

TEST(CodecLibraries, WebPLosslessRoundTripIsOneFrameOfTheSamePixels) {
  const Pixels picture = MakeGradient(8, 6, 3);
  uint8_t* encoded = nullptr;
  const size_t size = WebPEncodeLosslessRGB(picture.samples.data(), picture.width, picture.height,
                                            picture.width * 3, &encoded);
  ASSERT_GT(size, 0u);
  const WebPData data = {encoded, size};
  WebPDemuxer* demuxer = WebPDemux(&data);
  ASSERT_NE(demuxer, nullptr);
  EXPECT_EQ(WebPDemuxGetI(demuxer, WEBP_FF_FRAME_COUNT), 1u);
  WebPDemuxDelete(demuxer);

  Pixels decoded{picture.width, picture.height, 3, std::vector<uint8_t>(picture.samples.size())};
  EXPECT_NE(WebPDecodeRGBInto(encoded, size, decoded.samples.data(), decoded.samples.size(), picture.width * 3),
            nullptr);
  WebPFree(encoded);
  EXPECT_EQ(CompareSamples(decoded, picture, 0), "");
}

TEST(CodecLibraries, JpegCodesArithmeticProgressiveScans) {
  ScratchFolder folder("codec_libraries_jpeg");
  const Pixels picture = MakeGradient(16, 16, 3);
  JpegSettings settings;
  settings.progressive = true;
  settings.arithmetic = true;
  settings.optimise = false;  // libjpeg refuses optimised tables with arithmetic coding
  const std::string path = folder.File("arithmetic.jpg");
  ASSERT_TRUE(WriteJpegFile(path, picture, settings));
  EXPECT_TRUE(JpegHasMarker(ReadFileBytes(path), 0xCA)) << "want a progressive arithmetic frame (SOF10)";
  // Entropy coding is lossless: the same scans with Huffman tables decode alike.
  Pixels decoded, huffman_decoded;
  ASSERT_TRUE(DecodeJpegFile(path, &decoded));
  settings.arithmetic = false;
  ASSERT_TRUE(ReencodeJpeg(path, picture, settings, &huffman_decoded));
  EXPECT_EQ(CompareSamples(decoded, huffman_decoded, 0), "");
}

}  // namespace
