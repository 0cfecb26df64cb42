// TiffReader: every layout of the RGBA interface in files made with
// libtiff, hostile sizes, and libtiff's own test pictures checked against
// the Netpbm copies that come with them.
#include "imaging/readers/tiff_reader.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

class TiffReaderTest : public ::testing::Test {
 protected:
  ReadOutcome Read(const std::string& path) {
    TiffReader reader;
    return ReadThrough(reader, path, &buffer_);
  }
  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"tiff_reader"};
  std::string path_ = folder_.File("picture.tif");
  PictureBuffer buffer_;
};

// Samples of `pixels` rearranged: `order` lists, for each output component,
// the input component it takes.
Pixels Rearranged(const Pixels& pixels, const std::vector<int>& order) {
  Pixels out{pixels.width, pixels.height, static_cast<int>(order.size()), {}};
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      for (int c : order) out.samples.push_back(pixels.at(x, y, c));
  return out;
}

// Colours multiplied by the alpha in component `alpha_at`, as libtiff
// delivers unassociated alpha with RGB; alpha comes first.
Pixels Premultiplied(const Pixels& pixels, const std::vector<int>& colours, int alpha_at) {
  Pixels out{pixels.width, pixels.height, 4, {}};
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x) {
      const int alpha = pixels.at(x, y, alpha_at);
      out.samples.push_back(static_cast<uint8_t>(alpha));
      for (int c : colours) out.samples.push_back(static_cast<uint8_t>((pixels.at(x, y, c) * alpha + 127) / 255));
    }
  return out;
}

}  // namespace

// One file of each layout the RGBA interface reads, made with libtiff, and
// the floating-point ones it would misread: the rows handed out, gray,
// alpha in front of RGB, or RGB.
TEST_F(TiffReaderTest, ReadsEveryLayoutOfTheRgbaInterface) {
  const Pixels gray = MakeGradient(21, 19, 1), rgb = MakeGradient(21, 19, 3);
  const Pixels gray_alpha = Rearranged(MakeGradient(21, 19, 4), {0, 3});
  const Pixels rgba = MakeGradient(21, 19, 4);
  const auto layout = TiffLayoutOf;
  // 16-bit samples v * 257 read as v; palette entries likewise.
  TiffLayout deep = layout(rgb, PHOTOMETRIC_RGB);
  deep.bits = 16;
  deep.rows.clear();
  for (uint8_t sample : rgb.samples) {
    const uint16_t wide = static_cast<uint16_t>(sample * 257);
    deep.rows.insert(deep.rows.end(), reinterpret_cast<const uint8_t*>(&wide), reinterpret_cast<const uint8_t*>(&wide) + 2);
  }
  TiffLayout palette{4, 1, 1, 4, PHOTOMETRIC_PALETTE};
  palette.rows = {0x01, 0xF2};
  palette.colormap.assign(48, 0);
  for (int i = 0; i < 16; ++i)
    for (int c = 0; c < 3; ++c) palette.colormap[c * 16 + i] = static_cast<uint16_t>((i * 16 + c) * 257);
  TiffLayout bilevel{10, 1, 1, 1, PHOTOMETRIC_MINISWHITE};
  bilevel.rows = {0xA5, 0x80};
  // CMYK without black: each colour is what its ink leaves of white.
  Pixels ink = MakeGradient(21, 19, 4);
  for (size_t i = 3; i < ink.samples.size(); i += 4) ink.samples[i] = 0;
  Pixels ink_colours = Rearranged(ink, {0, 1, 2});
  for (uint8_t& sample : ink_colours.samples) sample = static_cast<uint8_t>(255 - sample);
  TiffLayout half_float = layout(gray, PHOTOMETRIC_MINISBLACK);
  half_float.bits = 16;
  half_float.sample_format = SAMPLEFORMAT_IEEEFP;
  half_float.rows.resize(gray.samples.size() * 2, 0x3C);

  struct Case {
    const char* name;
    TiffLayout file;
    Pixels want;  // no samples: refused
    int tolerance;
  } cases[] = {
      {"gray", layout(gray, PHOTOMETRIC_MINISBLACK), gray, 0},
      {"RGB, deflate", layout(rgb, PHOTOMETRIC_RGB), rgb, 0},
      {"RGB, tiled", layout(rgb, PHOTOMETRIC_RGB), rgb, 0},
      {"RGB, JPEG-compressed YCbCr", layout(rgb, PHOTOMETRIC_YCBCR), rgb, 12},
      {"RGB, 16-bit", deep, rgb, 0},
      {"RGB, first of two pages", layout(rgb, PHOTOMETRIC_RGB), rgb, 0},
      {"RGBA", layout(rgba, PHOTOMETRIC_RGB), Premultiplied(rgba, {0, 1, 2}, 3), 1},
      {"gray with alpha", layout(gray_alpha, PHOTOMETRIC_MINISBLACK), Rearranged(gray_alpha, {1, 0, 0, 0}), 0},
      {"palette, 4-bit", palette, {4, 1, 3, {0, 1, 2, 16, 17, 18, 240, 241, 242, 32, 33, 34}}, 0},
      {"bilevel, white is zero", bilevel, {10, 1, 1, {0, 255, 0, 255, 255, 0, 255, 0, 0, 255}}, 0},
      {"CMYK", layout(ink, PHOTOMETRIC_SEPARATED), ink_colours, 0},
      {"16-bit floating point", half_float, {}, 0},
  };
  cases[1].file.compression = COMPRESSION_ADOBE_DEFLATE;
  cases[2].file.tile = 16;
  cases[3].file.compression = COMPRESSION_JPEG;
  cases[5].file.pages = 2;
  cases[6].file.alpha = cases[7].file.alpha = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteTiffLayout(path_, c.file));
    if (c.want.samples.empty()) {
      EXPECT_EQ(Read(path_), ReadOutcome::kRefused);
      continue;
    }
    TiffReader reader;
    ASSERT_TRUE(reader.Open(path_.c_str()));
    EXPECT_EQ(reader.description().alpha_premultiplied, c.file.alpha && c.file.photometric == PHOTOMETRIC_RGB);
    reader.Reset();
    ASSERT_EQ(Read(path_), ReadOutcome::kDecoded);
    EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer_), c.want, c.tolerance), "");
  }
}

TEST_F(TiffReaderTest, RefusesOtherFilesAndFailsDamagedOnes) {
  ASSERT_TRUE(WriteFileBytes(path_, "II*\0"));
  EXPECT_EQ(Read(path_), ReadOutcome::kRefused);
  ASSERT_TRUE(WriteFileBytes(path_, "BM not a tiff at all"));
  EXPECT_EQ(Read(path_), ReadOutcome::kRefused);
  EXPECT_EQ(Read(folder_.path()), ReadOutcome::kRefused);

  ASSERT_TRUE(WriteTiffFile(path_, MakeGradient(300, 300, 3)));
  const std::string whole = ReadFileBytes(path_);
  // libtiff writes the directory after the strips: cut into the strips by
  // zeroing them instead, which LZW cannot decode.
  std::string damaged = whole;
  for (size_t i = 16; i < whole.size() / 2; ++i) damaged[i] = '\xFF';
  ASSERT_TRUE(WriteFileBytes(path_, damaged));
  EXPECT_EQ(Read(path_), ReadOutcome::kDecodeFailed);
}

TEST_F(TiffReaderTest, RefusesSizesBeyondTheLimitBeforeAllocating) {
  // A tiny file whose directory claims 65500x65500 pixels.
  Pixels pixels = MakeGradient(4, 4, 3);
  ASSERT_TRUE(WriteTiffFile(path_, pixels));
  std::string bytes = ReadFileBytes(path_);
  // Patch the width and length entries (tags 256, 257 as LONG or SHORT).
  bool patched = false;
  for (size_t at = 8; at + 12 <= bytes.size(); ++at) {
    const int tag = static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
    const int type = static_cast<uint8_t>(bytes[at + 2]) | static_cast<uint8_t>(bytes[at + 3]) << 8;
    const bool count_one = bytes.compare(at + 4, 4, std::string("\x01\0\0\0", 4)) == 0;
    if ((tag == 256 || tag == 257) && (type == 3 || type == 4) && count_one) {
      bytes[at + 8] = static_cast<char>(0xDC);
      bytes[at + 9] = static_cast<char>(0xFF);
      patched = true;
    }
  }
  ASSERT_TRUE(patched);
  ASSERT_TRUE(WriteFileBytes(path_, bytes));
  EXPECT_EQ(Read(path_), ReadOutcome::kRefused);
}

// libtiff's test pictures: the 8-bit ones decode exactly to their Netpbm
// twins; every other file either decodes or is refused, without crashing.
TEST_F(TiffReaderTest, ReadsLibtiffTestPictures) {
  const std::string folder = std::string(TULVEX_TEST_IMAGES_DIR);
  if (folder.empty()) GTEST_SKIP() << "no test pictures configured";
  const std::string tiff = folder + "/tiff/";
  for (const char* name : {"rgb-3c-8b", "minisblack-1c-8b"}) {
    SCOPED_TRACE(name);
    Pixels twin;
    ASSERT_TRUE(ReadNetpbm(tiff + name + (name[0] == 'r' ? ".ppm" : ".pgm"), &twin));
    ASSERT_EQ(Read(tiff + name + ".tiff"), ReadOutcome::kDecoded);
    EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer_), twin, 0), "");
  }
  int decoded = 0;
  for (const auto& entry : std::filesystem::directory_iterator(tiff)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".tif" && extension != ".tiff") continue;
    SCOPED_TRACE(entry.path().filename().string());
    if (Read(entry.path().string()) == ReadOutcome::kDecoded) {
      ++decoded;
      EXPECT_GT(buffer_.width(), 0);
    }
  }
  EXPECT_GE(decoded, 15);
}
