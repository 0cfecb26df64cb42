// The BMP reader: every depth, coding and header form against the picture
// it was made from, pixel order and row flipping, padding, and every kind
// of hostile or cut header refused before anything is allocated.
#include "imaging/readers/bmp_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "imaging/picture_loader.h"
#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

std::vector<uint8_t> Pattern(int32_t width, int32_t height) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 29 + i / 3);
  return rgb;
}

Pixels ThroughPalette(int32_t width, int32_t height, const std::vector<uint8_t>& indices, const std::vector<uint8_t>& rgb) {
  Pixels pixels{width, height, 3, {}};
  for (uint8_t index : indices) pixels.samples.insert(pixels.samples.end(), &rgb[3 * index], &rgb[3 * index + 3]);
  return pixels;
}

// A profile as far as the reader looks at it: its length and signature.
std::string FakeProfile() {
  std::string profile(300, '\x11');
  PutLittle32(profile, 0, 0x2C010000);  // 300, big-endian
  profile.replace(36, 4, "acsp");
  return profile;
}

struct Variant {
  std::string name;
  std::string file;
  Pixels want;  // red, green, blue; or alpha, red, green, blue
  int tolerance;
  std::string profile;  // the metadata block the reader must hand on
};

std::vector<Variant> Variants() {
  const int32_t w = 13, h = 5;
  std::vector<Variant> variants;
  auto paletted = [&](const char* name, uint32_t info_size, uint16_t bits, int colours, uint32_t used, bool top_down) {
    BmpParts parts{info_size, w, top_down ? -h : h, bits, 0, used, {}, MakeColours(colours, 11)};
    std::vector<uint8_t> indices;  // in runs of two, different in every row
    for (int32_t i = 0; i < w * h; ++i) indices.push_back(static_cast<uint8_t>((i % w / 2 * 5 + i / w * 3) % colours));
    parts.pixels = PackBmpRows(w, h, indices, bits, {}, top_down);
    variants.push_back({name, MakeBmpFile(parts), ThroughPalette(w, h, indices, parts.palette), 0, ""});
  };
  paletted("1 bit", 40, 1, 2, 0, false);
  paletted("4 bits, OS/2 header", 12, 4, 16, 0, false);
  paletted("4 bits, 10 colours used", 40, 4, 10, 10, false);
  paletted("8 bits", 40, 8, 256, 0, false);
  paletted("8 bits, top-down, 124-byte header", 124, 8, 200, 200, true);

  // Masks go into the file only with bit-field compression (3).
  auto fields = [&](const char* name, uint32_t info_size, uint16_t bits, uint32_t compression,
                    const std::vector<uint32_t>& masks, int tolerance, const std::string& profile) {
    const Pixels source = MakeGradient(w, h, static_cast<int>(masks.size()));
    BmpParts parts{info_size, w, h, bits, compression, 0, compression == 3 ? masks : std::vector<uint32_t>{}, {}};
    parts.pixels = PackBmpRows(w, h, source.samples, bits, masks, false);
    parts.profile = profile.empty() ? "" : profile + "  ";  // stored with padding, as writers may
    Pixels want = source;
    if (masks.size() == 4)  // alpha comes first
      for (size_t at = 0; at < want.samples.size(); at += 4) std::rotate(&want.samples[at], &want.samples[at + 3], &want.samples[at + 4]);
    variants.push_back({name, MakeBmpFile(parts), want, tolerance, profile});
  };
  fields("16 bits, 5-5-5", 40, 16, 0, {0x7C00, 0x03E0, 0x001F}, 5, "");
  fields("16 bits, 5-6-5 bit fields", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, 5, "");
  fields("32 bits", 40, 32, 0, {0xFF0000, 0xFF00, 0xFF}, 0, "");
  fields("32 bits, bit fields with blue high", 40, 32, 3, {0xFF, 0xFF00, 0xFF0000}, 0, "");
  fields("32 bits, alpha, 108-byte header", 108, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 0, "");
  fields("16 bits, 4-4-4-4 alpha, profile", 124, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, 9, FakeProfile());

  // Run-length data written by hand, bottom row first. RLE8 on 6 x 4: a run
  // cut at the row's end and one dropped after it; a literal block of odd
  // length, padded, and a move of 2 right and 1 up; a run at x = 5; a run
  // and the end of the picture, leaving the rest of the top row.
  const std::vector<uint8_t> eight = MakeColours(8, 11);
  BmpParts rle8{40, 6, 4, 8, 1, 0, {}, eight};
  rle8.pixels = std::string("\x08\x01\x02\x02\x00\x00" "\x00\x03\x03\x04\x05\x00\x00\x02\x02\x01"
                            "\x01\x06\x00\x00" "\x02\x07\x00\x01", 24);
  variants.push_back({"RLE8", MakeBmpFile(rle8),
                      ThroughPalette(6, 4, {7, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 3, 4, 5, 0, 0, 0, 1, 1, 1, 1, 1, 1}, eight), 0, ""});
  // RLE4 on 5 x 2: a literal block of five halves, then a run alternating
  // the halves of its byte.
  BmpParts rle4{40, 5, 2, 4, 2, 0, {}, eight};
  rle4.pixels = std::string("\x00\x05\x12\x34\x50\x00\x00\x00" "\x05\x67\x00\x01", 12);
  variants.push_back({"RLE4", MakeBmpFile(rle4), ThroughPalette(5, 2, {6, 7, 6, 7, 6, 1, 2, 3, 4, 5}, eight), 0, ""});
  return variants;
}

class BmpReaderTest : public ::testing::Test {
 protected:
  ReadOutcome Read(const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(path_, bytes));
    BmpReader reader;
    return ReadThrough(reader, path_, &buffer_);
  }
  void ExpectPixels(int32_t width, int32_t height, const std::vector<uint8_t>& rgb) {
    ASSERT_EQ(buffer_.width(), width);
    ASSERT_EQ(buffer_.height(), height);
    ASSERT_EQ(buffer_.bits_per_pixel(), 24);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width * 3; ++x)
        ASSERT_EQ(buffer_.row(y)[x], rgb[static_cast<size_t>(y) * width * 3 + x])
            << "byte " << x << " of row " << y << " in a " << width << "x" << height << " picture";
  }
  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"bmp_reader"};
  std::string path_ = folder_.File("picture.bmp");
  PictureBuffer buffer_;
};

}  // namespace

TEST_F(BmpReaderTest, ReadsBottomUpTopDownAndOs2FilesOfEveryPadding) {
  for (int32_t width : {1, 2, 3, 4, 5}) {
    const int32_t height = 3;
    const std::vector<uint8_t> rgb = Pattern(width, height);
    for (int form = 0; form < 3; ++form) {
      BmpOptions options;
      options.top_down = form == 1;
      options.os2 = form == 2;
      SCOPED_TRACE(::testing::Message() << "width " << width << ", form " << form);
      ASSERT_EQ(Read(MakeBmp(width, height, rgb, options)), ReadOutcome::kDecoded);
      ExpectPixels(width, height, rgb);
    }
  }
}

TEST_F(BmpReaderTest, ReadsEveryDepthCodingAndHeaderForm) {
  for (const Variant& variant : Variants()) {
    SCOPED_TRACE(variant.name);
    ASSERT_TRUE(WriteFileBytes(path_, variant.file));
    BmpReader reader;
    ASSERT_TRUE(reader.Open(path_.c_str()));
    const std::vector<MetadataBlock>& metadata = reader.description().metadata;
    EXPECT_EQ(metadata.size(), variant.profile.empty() ? 0u : 1u);
    if (!metadata.empty()) {
      EXPECT_TRUE(metadata[0].kind == MetadataKind::kIcc && metadata[0].bytes == variant.profile);
    }
    ASSERT_TRUE(ReadWholePictureInto(reader, &buffer_));
    EXPECT_EQ(CompareSamples(ShownPixelsOfBuffer(buffer_), variant.want, variant.tolerance), "");
  }
}

TEST_F(BmpReaderTest, AcceptsBaSignature) {
  std::string bytes = MakeBmp(2, 4, Pattern(2, 4));
  bytes[1] = 'A';
  ASSERT_EQ(Read(bytes), ReadOutcome::kDecoded);
  ExpectPixels(2, 4, Pattern(2, 4));
}

TEST_F(BmpReaderTest, RefusesOtherFormsAndHostileSizes) {
  const std::string good = MakeBmp(3, 2, Pattern(3, 2));
  // 16 bits with its masks after a 40-byte header, at 54, 58 and 62.
  const std::string fields = MakeBmpFile({40, 3, 2, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, {}, std::string(16, '\1')});
  const std::string rle = MakeBmpFile({40, 2, 2, 8, 1, 0, {}, MakeColours(2, 11), std::string("\x02\x01\x00\x01", 4)});
  for (const std::string* base : {&good, &fields, &rle}) {
    ASSERT_EQ(Read(*base), ReadOutcome::kDecoded);
    buffer_.Release();
  }
  struct Patch {
    const char* what;
    const std::string& base;
    size_t offset;
    uint32_t value;
    int width;  // 2 or 4 bytes
  } patches[] = {
      {"8 bits without room for a palette", good, 28, 8, 2},
      {"2 bits", good, 28, 2, 2},
      {"compression 4", good, 30, 4, 4},
      {"width 0", good, 18, 0, 4},
      {"width -4", good, 18, static_cast<uint32_t>(-4), 4},
      {"width 0x55555556", good, 18, 0x55555556u, 4},
      {"height 0", good, 22, 0, 4},
      {"height INT_MIN", good, 22, 0x80000000u, 4},
      {"65536 x 21846", good, 18, 65536, 4},
      {"info header of 8 bytes", good, 14, 8, 4},
      {"offset inside the info header", good, 10, 30, 4},
      {"offset below the file header", good, 10, 4, 4},
      {"empty red mask", fields, 54, 0, 4},
      {"red mask overlapping green", fields, 54, 0x0FC0, 4},
      {"scattered red mask", fields, 54, 0xF801, 4},
      {"red mask beyond 16 bits", fields, 54, 0x1F0000, 4},
      {"run-length data stored top-down", rle, 22, static_cast<uint32_t>(-2), 4},
      {"RLE8 at 4 bits", rle, 28, 4, 2},
      {"run-length data of more rows than a JPEG holds", rle, 22, 65501, 4},
  };
  for (const Patch& patch : patches) {
    std::string bytes = patch.base;
    if (patch.width == 2)
      PutLittle16(bytes, patch.offset, static_cast<uint16_t>(patch.value));
    else
      PutLittle32(bytes, patch.offset, patch.value);
    if (std::strcmp(patch.what, "65536 x 21846") == 0) PutLittle32(bytes, 22, 21846);
    EXPECT_EQ(Read(bytes), ReadOutcome::kRefused) << patch.what;
    EXPECT_FALSE(buffer_.allocated()) << patch.what;
  }
  std::string wrong_magic = good;
  wrong_magic[1] = 'Z';
  EXPECT_EQ(Read(wrong_magic), ReadOutcome::kRefused);
  EXPECT_EQ(Read(""), ReadOutcome::kRefused);
}

TEST_F(BmpReaderTest, LyingPixelOffsetAndClaimedSizeFailTheDecode) {
  std::string beyond = MakeBmp(3, 2, Pattern(3, 2), {});
  // An OS/2 header keeps the info length independent of the offset field,
  // so only the pixel data moves: here past the end of the file.
  std::string os2 = MakeBmp(3, 2, Pattern(3, 2), {false, true, 24});
  PutLittle32(beyond, 10, 0x7FFFFFF0u);
  EXPECT_NE(Read(beyond), ReadOutcome::kDecoded);
  // A 16384 x 16384 claim over a few bytes of data: refused without
  // allocating 768 MiB first.
  std::string claim = os2;
  PutLittle16(claim, 18, 16384);
  PutLittle16(claim, 20, 16384);
  EXPECT_EQ(Read(claim), ReadOutcome::kDecodeFailed);
  EXPECT_FALSE(buffer_.allocated());
}

TEST_F(BmpReaderTest, EveryTruncationFailsCleanly) {
  // Every variant cut inside its last 80 bytes of pixels; every header cut
  // in the 24-bit file below.
  for (const Variant& variant : Variants()) {
    const std::string& whole = variant.file;
    const size_t end = whole.size() - (variant.profile.empty() ? 0 : variant.profile.size() + 2);  // and its padding
    for (size_t size = end > 80 ? end - 80 : 0; size < end; ++size)
      EXPECT_NE(Read(whole.substr(0, size)), ReadOutcome::kDecoded) << variant.name << " cut at " << size;
  }
  const std::string whole = MakeBmp(5, 3, Pattern(5, 3));
  for (size_t size = 0; size < whole.size(); ++size)
    EXPECT_NE(Read(whole.substr(0, size)), ReadOutcome::kDecoded) << "cut at " << size << " of " << whole.size();
  EXPECT_EQ(Read(whole), ReadOutcome::kDecoded);
}
