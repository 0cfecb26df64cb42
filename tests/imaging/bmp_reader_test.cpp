// The BMP reader: pixel order and row flipping, padding, and every kind of
// hostile or cut header refused before anything is allocated.
#include "imaging/readers/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

std::vector<uint8_t> Pattern(int32_t width, int32_t height) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 29 + i / 3);
  return rgb;
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

TEST_F(BmpReaderTest, AcceptsBaSignature) {
  std::string bytes = MakeBmp(2, 4, Pattern(2, 4));
  bytes[1] = 'A';
  ASSERT_EQ(Read(bytes), ReadOutcome::kDecoded);
  ExpectPixels(2, 4, Pattern(2, 4));
}

TEST_F(BmpReaderTest, RefusesOtherFormsAndHostileSizes) {
  const std::string good = MakeBmp(3, 2, Pattern(3, 2));
  ASSERT_EQ(Read(good), ReadOutcome::kDecoded);
  buffer_.Release();
  struct Patch {
    const char* what;
    size_t offset;
    uint32_t value;
    int width;  // 2 or 4 bytes
  } patches[] = {
      {"8 bits", 28, 8, 2},
      {"32 bits", 28, 32, 2},
      {"compression 4", 30, 4, 4},
      {"width 0", 18, 0, 4},
      {"width -4", 18, static_cast<uint32_t>(-4), 4},
      {"width 0x55555556", 18, 0x55555556u, 4},
      {"height 0", 22, 0, 4},
      {"height INT_MIN", 22, 0x80000000u, 4},
      {"65536 x 21846", 18, 65536, 4},
      {"info header of 8 bytes", 10, 22, 4},
      {"info header of 16 bytes", 10, 30, 4},
      {"offset below the file header", 10, 4, 4},
  };
  for (const Patch& patch : patches) {
    std::string bytes = good;
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
  const std::string whole = MakeBmp(5, 3, Pattern(5, 3));
  for (size_t size = 0; size < whole.size(); ++size)
    EXPECT_NE(Read(whole.substr(0, size)), ReadOutcome::kDecoded) << "cut at " << size << " of " << whole.size();
  EXPECT_EQ(Read(whole), ReadOutcome::kDecoded);
}
