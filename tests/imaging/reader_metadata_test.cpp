// The JPEG, PNG and TIFF readers hand on the metadata blocks of files made
// with the codec libraries: EXIF, XMP and the colour profile, each exactly
// as the file carries it, a profile only where it fits the pixels handed
// out, and TIFF's EXIF directory as a block of its own.
#include <gtest/gtest.h>
#include <png.h>

#include <functional>
#include <string>

#include "imaging/picture_loader.h"
#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

std::string BlockOf(const PictureDescription& picture, MetadataKind kind) {
  std::string found;
  for (const MetadataBlock& block : picture.metadata)
    if (block.kind == kind) {
      EXPECT_TRUE(found.empty()) << "two blocks of one kind";
      found = block.bytes;
    }
  return found;
}

// "Make / DateTimeOriginal" of an EXIF block, read by walking its first
// directory and the EXIF directory it points to.
std::string DescribeExif(const std::string& block) {
  if (block.size() < 8 || (block.compare(0, 4, std::string("II*\0", 4)) != 0 && block.compare(0, 4, std::string("MM\0*", 4)) != 0))
    return "not a TIFF structure";
  const bool little = block[0] == 'I';
  const auto load = [&](size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes && at + bytes <= block.size(); ++i)
      value |= static_cast<uint32_t>(static_cast<uint8_t>(block[at + i])) << 8 * (little ? i : bytes - 1 - i);
    return value;
  };
  // The ASCII value of `tag` in the directory at `directory`; a pointer's offset when `pointer`.
  const auto find = [&](uint32_t directory, uint16_t tag, bool pointer) -> std::string {
    for (uint32_t i = 0, count = load(directory, 2); i < count; ++i) {
      const size_t entry = directory + 2 + i * 12;
      if (load(entry, 2) != tag) continue;
      const uint32_t length = load(entry + 4, 4);
      if (pointer) return std::to_string(load(entry + 8, 4));
      const size_t at = length <= 4 ? entry + 8 : load(entry + 8, 4);
      return at + length <= block.size() ? std::string(block.c_str() + at) : "(outside)";
    }
    return "(none)";
  };
  const uint32_t first = load(4, 4);
  const std::string exif = find(first, 34665, true);
  return find(first, 271, false) + " / " +
         (exif == "(none)" ? exif : find(static_cast<uint32_t>(std::stoul(exif)), 36867, false));
}

}  // namespace

TEST(ReaderMetadata, FilesHandOnTheirBlocks) {
  ScratchFolder folder("reader_metadata");
  TemporaryFileWatch watch;
  const std::string exif("MM\0*\0\0\0\x08\0\0\0\0\0\0", 14);
  const std::string xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF/></x:xmpmeta>";
  const std::string rgb_profile = MakeRgbProfile(), gray_profile = MakeGrayProfile();
  const std::string path = folder.File("picture");

  const auto jpeg = [&](int components, std::vector<std::pair<int, std::string>> markers) {
    return [&, components, markers](const std::string& to) {
      JpegSettings settings;
      settings.markers = markers;
      return WriteJpegFile(to, MakeGradient(8, 8, components), settings);
    };
  };
  const std::pair<int, std::string> exif_segment{0xE1, std::string("Exif\0\0", 6) + exif};
  const std::pair<int, std::string> xmp_segment{0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + xmp};
  std::vector<std::pair<int, std::string>> rgb_chunks = IccMarkers(rgb_profile, 3);
  std::vector<std::pair<int, std::string>> chunk_missing = rgb_chunks;
  chunk_missing.erase(chunk_missing.begin() + 1);

  const auto png = [&](int colour_type, const std::string& icc) {
    return [&, colour_type, icc](const std::string& to) {
      PngPicture picture{2, 2, colour_type, 8, false, std::vector<uint8_t>(colour_type == PNG_COLOR_TYPE_RGB ? 12 : 4)};
      picture.exif = exif;
      picture.xmp = xmp;
      picture.icc = icc;
      return WritePngFile(to, picture);
    };
  };
  const auto tiff = [&](int components, bool big_endian, const std::string& icc) {
    return [&, components, big_endian, icc](const std::string& to) {
      return WriteTiffFileWithMetadata(to, MakeGradient(4, 4, components),
                                       TiffMetadata{big_endian, "Maker", "2021:02:03 04:05:06", icc, xmp});
    };
  };

  struct Case {
    const char* name;
    std::function<bool(const std::string&)> write;
    std::string exif;  // for TIFF: the make and date libtiff reads in the block
    std::string xmp;
    std::string icc;
  } cases[] = {
      {"JPEG, profile in three chunks", jpeg(3, {exif_segment, xmp_segment, rgb_chunks[0], rgb_chunks[1], rgb_chunks[2]}),
       exif, xmp, rgb_profile},
      {"JPEG, a profile chunk missing", jpeg(3, {xmp_segment, chunk_missing[0], chunk_missing[1]}), "", xmp, ""},
      {"JPEG gray, gray profile", jpeg(1, IccMarkers(gray_profile, 1)), "", "", gray_profile},
      {"JPEG gray, RGB profile dropped", jpeg(1, IccMarkers(rgb_profile, 2)), "", "", ""},
      {"JPEG CMYK, its profile used up", jpeg(4, IccMarkers(MakeCyanOnlyInkProfile(), 1)), "", "", ""},
      {"PNG", png(PNG_COLOR_TYPE_RGB, rgb_profile), exif, xmp, rgb_profile},
      {"PNG gray", png(PNG_COLOR_TYPE_GRAY, gray_profile), exif, xmp, gray_profile},
      {"TIFF, little-endian", tiff(3, false, rgb_profile), "Maker / 2021:02:03 04:05:06", xmp, rgb_profile},
      {"TIFF, big-endian", tiff(3, true, rgb_profile), "Maker / 2021:02:03 04:05:06", xmp, rgb_profile},
      {"TIFF gray, RGB profile dropped", tiff(1, false, rgb_profile), "Maker / 2021:02:03 04:05:06", xmp, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.write(path));
    std::unique_ptr<PictureReader> reader;
    ASSERT_EQ(PictureLoader::OpenReader(path.c_str(), &reader), 1);
    const PictureDescription& picture = reader->description();
    const std::string exif_block = BlockOf(picture, MetadataKind::kExif);
    if (c.exif.rfind("Maker", 0) == 0)
      EXPECT_EQ(DescribeExif(exif_block), c.exif);
    else
      EXPECT_TRUE(exif_block == c.exif) << "EXIF of " << exif_block.size() << " bytes, want " << c.exif.size();
    EXPECT_EQ(BlockOf(picture, MetadataKind::kXmp), c.xmp);
    EXPECT_TRUE(BlockOf(picture, MetadataKind::kIcc) == c.icc) << "the profile differs";
    EXPECT_EQ(picture.metadata.size(), size_t{!c.exif.empty()} + !c.xmp.empty() + !c.icc.empty());
  }
  EXPECT_EQ(watch.Leftovers(), "") << "backing files left behind";
}
