// The PCX reader: paletted and three-plane pictures, runs cut at line ends,
// and hostile or cut headers and data refused without reading past them.
#include "imaging/readers/pcx_reader.h"

#include <gtest/gtest.h>

#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  // Repeats make runs, the high values need runs of one.
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i % 7 < 3 ? 0xC7 : i * 13);
  return bytes;
}

std::vector<uint8_t> TestPalette() {
  std::vector<uint8_t> palette(768);
  for (size_t i = 0; i < 768; ++i) palette[i] = static_cast<uint8_t>(i * 7 + 3);
  return palette;
}

class PcxReaderTest : public ::testing::Test {
 protected:
  ReadOutcome Read(const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(path_, bytes));
    PcxReader reader;
    return ReadThrough(reader, path_, &buffer_);
  }
  void ExpectRows(int32_t width, int32_t height, int bytes_per_pixel, const std::vector<uint8_t>& want) {
    ASSERT_EQ(buffer_.width(), width);
    ASSERT_EQ(buffer_.height(), height);
    ASSERT_EQ(buffer_.bits_per_pixel(), bytes_per_pixel * 8);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width * bytes_per_pixel; ++x)
        ASSERT_EQ(buffer_.row(y)[x], want[static_cast<size_t>(y) * width * bytes_per_pixel + x])
            << "byte " << x << " of row " << y;
  }
  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"pcx_reader"};
  std::string path_ = folder_.File("picture.pcx");
  PictureBuffer buffer_;
};

}  // namespace

TEST_F(PcxReaderTest, ReadsPalettedPicturesWithTheirPalette) {
  const std::vector<uint8_t> palette = TestPalette();
  for (int32_t bytes_per_line : {0, 6, 40}) {
    const std::vector<uint8_t> indices = Pattern(5 * 4);
    ASSERT_EQ(Read(MakePcx8(5, 4, indices, palette, bytes_per_line)), ReadOutcome::kDecoded)
        << "bytes per line " << bytes_per_line;
    ExpectRows(5, 4, 1, indices);
    ASSERT_EQ(buffer_.palette_count(), 256);
    for (int i = 0; i < 256; ++i) {
      const PaletteEntry& entry = buffer_.palette()[i];
      ASSERT_EQ(entry.red, palette[3 * i]) << "entry " << i;
      ASSERT_EQ(entry.green, palette[3 * i + 1]) << "entry " << i;
      ASSERT_EQ(entry.blue, palette[3 * i + 2]) << "entry " << i;
    }
  }
}

TEST_F(PcxReaderTest, ReadsThreePlanePictures) {
  for (int32_t width : {2, 3, 7}) {
    const std::vector<uint8_t> rgb = Pattern(static_cast<size_t>(width) * 3 * 3);
    ASSERT_EQ(Read(MakePcx24(width, 3, rgb, width + 1)), ReadOutcome::kDecoded) << "width " << width;
    ExpectRows(width, 3, 3, rgb);
  }
  // A large picture crosses the reader's chunk boundaries many times.
  const std::vector<uint8_t> rgb = Pattern(700 * 300 * 3);
  ASSERT_EQ(Read(MakePcx24(700, 300, rgb)), ReadOutcome::kDecoded);
  ExpectRows(700, 300, 3, rgb);
}

TEST_F(PcxReaderTest, RunsStopAtTheEndOfTheirLine) {
  // Two lines of two bytes. The first run claims four bytes: only two fill
  // line 0, the rest is dropped and line 1 starts with the next code. A run
  // of count 0 adds nothing.
  std::string bytes = MakePcxHeader(2, 2, 8, 1, 2);
  bytes += std::string("\xC4\x07", 2) + std::string("\xC0\x55", 2) + "\x01\x02";
  bytes += '\x0C' + std::string(768, '\x10');
  ASSERT_EQ(Read(bytes), ReadOutcome::kDecoded);
  ExpectRows(2, 2, 1, {7, 7, 1, 2});
}

TEST_F(PcxReaderTest, DataEndingBeforeTheLastLineFails) {
  const std::vector<uint8_t> rgb = Pattern(4 * 3 * 3);
  std::string whole = MakePcx24(4, 3, rgb);
  EXPECT_EQ(Read(whole.substr(0, whole.size() - 1)), ReadOutcome::kDecodeFailed);
  // With 8 bits the palette closes the file, so a short data part would
  // otherwise be filled from the palette's bytes.
  std::string paletted = MakePcxHeader(4, 2, 8, 1, 4) + "\x01\x02\x03\x04\x05" + '\x0C' + std::string(768, '\x09');
  EXPECT_EQ(Read(paletted), ReadOutcome::kDecodeFailed);
  // A run whose value byte is missing.
  std::string cut_run = MakePcxHeader(2, 2, 8, 3, 2) + "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\xC1";
  EXPECT_EQ(Read(cut_run), ReadOutcome::kDecodeFailed);
}

TEST_F(PcxReaderTest, RefusesHostileHeaders) {
  const std::string tail = std::string(200, '\x01') + '\x0C' + std::string(768, '\0');
  struct Case {
    const char* what;
    std::string header;
  } cases[] = {
      {"one pixel wide", MakePcxHeader(1, 5, 8, 1, 2)},
      {"one pixel high", MakePcxHeader(5, 1, 8, 1, 6)},
      {"xmax below xmin", MakePcxHeader(-3, 5, 8, 1, 6)},
      {"ymax below ymin", MakePcxHeader(5, -3, 8, 1, 6)},
      {"bytes per line below the width", MakePcxHeader(6, 5, 8, 1, 5)},
      {"bytes per line 0", MakePcxHeader(6, 5, 8, 1, 0)},
      {"1 bit in 8 planes", MakePcxHeader(6, 5, 1, 8, 6)},
      {"4 bits in 2 planes", MakePcxHeader(6, 5, 4, 2, 6)},
      {"24 bits in 1 plane", MakePcxHeader(6, 5, 24, 1, 6)},
      {"8 bits in 4 planes", MakePcxHeader(6, 5, 8, 4, 6)},
      {"65535 x 65535", MakePcxHeader(65535, 65535, 8, 1, 65535)},
  };
  for (Case& c : cases) EXPECT_EQ(Read(c.header + tail), ReadOutcome::kRefused) << c.what;
  std::string no_marker = MakePcxHeader(6, 5, 8, 1, 6) + tail;
  no_marker[0] = 0x0B;
  EXPECT_EQ(Read(no_marker), ReadOutcome::kRefused) << "first byte not 0x0A";
  // An 8-bit file too short to hold the header and its palette.
  EXPECT_EQ(Read(MakePcxHeader(2, 2, 8, 1, 2) + std::string(767, '\x01')), ReadOutcome::kRefused);
  // A claim of 16384 x 16384 over a few bytes fails before the picture is
  // allocated.
  EXPECT_EQ(Read(MakePcxHeader(16384, 16384, 8, 1, 16384) + tail), ReadOutcome::kDecodeFailed);
  EXPECT_FALSE(buffer_.allocated());
}

TEST_F(PcxReaderTest, EveryTruncationFailsCleanly) {
  // The palette is found from the end of the file, so cutting one byte off
  // an 8-bit file moves it and shortens the data by one byte. That is only
  // noticed when the data has no slack: drop the unexamined marker byte.
  std::string paletted = MakePcx8(5, 3, Pattern(15), TestPalette(), 6);
  paletted.erase(paletted.size() - 769, 1);
  for (const std::string& whole : {paletted, MakePcx24(3, 4, Pattern(36))}) {
    for (size_t size = 0; size < whole.size(); ++size)
      EXPECT_NE(Read(whole.substr(0, size)), ReadOutcome::kDecoded)
          << "cut at " << size << " of " << whole.size();
    EXPECT_EQ(Read(whole), ReadOutcome::kDecoded);
  }
}
