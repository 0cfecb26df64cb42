// The JPEG, PNG and TIFF readers hand on the metadata blocks of files made
// with the codec libraries: EXIF, XMP and the colour profile, each exactly
// as the file carries it and a profile only where it fits the pixels handed
// out; TIFF's EXIF directory as a block of its own that reads back the same.
#include <gtest/gtest.h>
#include <png.h>

#include <string>

#include "imaging/picture_loader.h"
#include "imaging/readers/tiff_exif_block.h"
#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"

namespace {

std::string BlockOf(const PictureDescription& picture, MetadataKind kind) {
  std::string found;
  for (const MetadataBlock& block : picture.metadata)
    if (block.kind == kind) found += block.bytes;
  return found;
}

}  // namespace

TEST(ReaderMetadata, FilesHandOnTheirBlocks) {
  ScratchFolder folder("reader_metadata");
  const std::string exif("MM\0*\0\0\0\x08\0\0\0\0\0\0", 14), xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
  const std::string rgb_profile = MakeRgbProfile(), gray_profile = MakeGrayProfile();
  const std::pair<int, std::string> exif_segment{0xE1, std::string("Exif\0\0", 6) + exif};
  const std::pair<int, std::string> xmp_segment{0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + xmp};
  auto rgb_chunks = IccMarkers(rgb_profile, 3);
  const auto jpeg = [&](const std::string& name, int components, std::vector<std::pair<int, std::string>> markers) {
    JpegSettings settings;
    settings.markers = std::move(markers);
    EXPECT_TRUE(WriteJpegFile(folder.File(name), MakeGradient(8, 8, components), settings));
    return folder.File(name);
  };
  PngPicture png{2, 1, PNG_COLOR_TYPE_RGB, 8, false, std::vector<uint8_t>(6)};
  png.exif = exif;
  png.xmp = xmp;
  png.icc = rgb_profile;
  EXPECT_TRUE(WritePngFile(folder.File("meta.png"), png));
  TiffLayout tiff = TiffLayoutOf(MakeGradient(4, 4, 3), 2);
  tiff.make = "Maker";
  tiff.date_taken = "2021:02:03 04:05:06";
  tiff.icc = rgb_profile;
  tiff.xmp = xmp;
  for (bool big_endian : {false, true}) {
    tiff.big_endian = big_endian;
    EXPECT_TRUE(WriteTiffLayout(folder.File(big_endian ? "mm.tif" : "ii.tif"), tiff));
  }

  const std::string kTiffExif = "from the TIFF";
  struct Case {
    const char* name;
    std::string path, exif, xmp, icc;
  } cases[] = {
      {"JPEG, profile in three chunks",
       jpeg("a.jpg", 3, {exif_segment, xmp_segment, rgb_chunks[0], rgb_chunks[1], rgb_chunks[2]}), exif, xmp,
       rgb_profile},
      {"JPEG, a profile chunk missing", jpeg("b.jpg", 3, {xmp_segment, rgb_chunks[0], rgb_chunks[2]}), "", xmp, ""},
      {"JPEG gray, gray profile", jpeg("c.jpg", 1, IccMarkers(gray_profile, 1)), "", "", gray_profile},
      {"JPEG gray, RGB profile dropped", jpeg("d.jpg", 1, IccMarkers(rgb_profile, 2)), "", "", ""},
      {"JPEG CMYK, its profile used up", jpeg("e.jpg", 4, IccMarkers(MakeCyanOnlyInkProfile(), 1)), "", "", ""},
      {"PNG", folder.File("meta.png"), exif, xmp, rgb_profile},
      {"TIFF, little-endian", folder.File("ii.tif"), kTiffExif, xmp, rgb_profile},
      {"TIFF, big-endian", folder.File("mm.tif"), kTiffExif, xmp, rgb_profile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<PictureReader> reader;
    ASSERT_EQ(PictureLoader::OpenReader(c.path.c_str(), &reader), 1);
    const PictureDescription& picture = reader->description();
    const std::string block = BlockOf(picture, MetadataKind::kExif);
    if (c.exif == kTiffExif) {
      // The make and the date taken, in a block that makes itself again.
      EXPECT_NE(block.find("Maker"), std::string::npos);
      EXPECT_NE(block.find("2021:02:03 04:05:06"), std::string::npos);
      ASSERT_TRUE(WriteFileBytes(folder.File("block.tif"), block));
      EXPECT_TRUE(ExifBlockOfTiffFile(folder.File("block.tif").c_str()) == block) << "the offsets are not sound";
    } else {
      EXPECT_TRUE(block == c.exif) << "EXIF of " << block.size() << " bytes, want " << c.exif.size();
    }
    EXPECT_EQ(BlockOf(picture, MetadataKind::kXmp), c.xmp);
    EXPECT_TRUE(BlockOf(picture, MetadataKind::kIcc) == c.icc) << "the profile differs";
    EXPECT_EQ(picture.metadata.size(), size_t{!c.exif.empty()} + !c.xmp.empty() + !c.icc.empty());
  }
}
