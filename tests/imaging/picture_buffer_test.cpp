// The engine's bitmap: what it accepts, its descriptor, and the depth
// conversions the JPEG writer relies on, checked against per-pixel formulas.
#include "imaging/picture_buffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "tests/support/temporary_files.h"

namespace {

// A byte that differs from pixel to pixel and from channel to channel.
uint8_t Pattern(int x, int y, int channel) {
  return static_cast<uint8_t>(x * 37 + y * 91 + channel * 53 + (x * y) % 7);
}

void Fill(PictureBuffer& buffer) {
  const int bytes = buffer.bits_per_pixel() / 8;
  for (int y = 0; y < buffer.height(); ++y)
    for (int x = 0; x < buffer.width(); ++x)
      for (int c = 0; c < bytes; ++c) buffer.row(y)[x * bytes + c] = Pattern(x, y, c);
  for (int i = 0; i < buffer.palette_count(); ++i)
    buffer.palette()[i] = {static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3),
                           static_cast<uint8_t>(i ^ 0x5A), 0};
}

int ExpectedGray(int red, int green, int blue) { return (306 * red + 601 * green + 117 * blue) / 1024; }

}  // namespace

TEST(PictureBuffer, AllocationSetsTheDescriptor) {
  TemporaryFileWatch watch;
  {
    PictureBuffer buffer;
    EXPECT_FALSE(buffer.allocated());
    EXPECT_EQ(buffer.total_size(), 0);
    ASSERT_TRUE(buffer.Allocate(7, 3, 24, 0));
    EXPECT_STREQ(buffer.signature(), "wsi10");
    EXPECT_EQ(buffer.signature()[5], '\0');
    EXPECT_EQ(buffer.stride(), 21u) << "rows carry no padding";
    EXPECT_EQ(buffer.total_size(), 7 * 3 * 3 + 32);
    EXPECT_EQ(buffer.row(2) - buffer.pixels(), 42);

    ASSERT_TRUE(buffer.Allocate(5, 2, 8, 256));
    EXPECT_EQ(buffer.palette_count(), 256);
    EXPECT_EQ(buffer.total_size(), 10 + 32);
    ASSERT_TRUE(buffer.Allocate(3, 3, 16, 0));
    EXPECT_EQ(buffer.stride(), 6u);
    ASSERT_TRUE(buffer.Allocate(1, 1, 32, 0));
    EXPECT_EQ(buffer.total_size(), 4 + 32);
    buffer.Release();
    EXPECT_FALSE(buffer.allocated());
    EXPECT_EQ(buffer.width(), 0);
    EXPECT_STREQ(buffer.signature(), "");
  }
  EXPECT_EQ(watch.Leftovers(), "");
}

TEST(PictureBuffer, RefusesBadShapesAndPicturesBeyondTheLimits) {
  TemporaryFileWatch watch;
  struct Case {
    int32_t width, height, bits, palette;
  } cases[] = {
      {0, 1, 24, 0},          {1, 0, 24, 0},          {-4, 10, 24, 0},       {10, INT_MIN, 24, 0},
      {1, 1, 0, 0},           {1, 1, 7, 0},           {1, 1, 12, 0},         {1, 1, 48, 0},
      {1, 1, 8, -1},          {1, 1, 8, 257},         {1, 1, 24, 16},        {16385, 16385, 8, 0},
      {65536, 21846, 24, 0},  {0x55555556, 1, 24, 0}, {INT_MAX, INT_MAX, 32, 0}, {1, INT_MAX, 8, 0},
  };
  for (const Case& c : cases) {
    PictureBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(2, 2, 24, 0));
    EXPECT_FALSE(buffer.Allocate(c.width, c.height, c.bits, c.palette))
        << c.width << "x" << c.height << " at " << c.bits << " bits, " << c.palette << " entries";
    EXPECT_FALSE(buffer.allocated()) << "a refused allocation holds nothing";
    EXPECT_EQ(buffer.total_size(), 0);
  }
  PictureBuffer largest;
  EXPECT_TRUE(largest.Allocate(16384, 16384, 8, 0)) << "the limit itself is allowed";
  largest.Release();
  EXPECT_EQ(watch.Leftovers(), "");
}

TEST(PictureBuffer, ConvertsToTwentyFourBits) {
  for (int32_t bits : {8, 32}) {
    for (int32_t palette : {0, 256}) {
      if (bits == 32 && palette != 0) continue;
      PictureBuffer source, target;
      ASSERT_TRUE(source.Allocate(5, 3, bits, palette));
      Fill(source);
      ASSERT_TRUE(source.ConvertInto(target, 24, nullptr));
      ASSERT_EQ(target.bits_per_pixel(), 24);
      ASSERT_EQ(target.width(), 5);
      ASSERT_EQ(target.height(), 3);
      EXPECT_EQ(target.palette_count(), 0);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
          int want[3];
          if (bits == 32) {
            for (int c = 0; c < 3; ++c) want[c] = Pattern(x, y, c + 1);
          } else if (palette) {
            const PaletteEntry& e = source.palette()[Pattern(x, y, 0)];
            want[0] = e.red, want[1] = e.green, want[2] = e.blue;
          } else {
            want[0] = want[1] = want[2] = Pattern(x, y, 0);
          }
          for (int c = 0; c < 3; ++c)
            ASSERT_EQ(target.row(y)[x * 3 + c], want[c])
                << "from " << bits << " bits, palette " << palette << ", pixel " << x << "," << y
                << " channel " << c;
        }
    }
  }
}

TEST(PictureBuffer, ConvertsToWeightedGray) {
  // One pixel worked out by hand: (306*100 + 601*150 + 117*200) >> 10 = 140.
  PictureBuffer one, gray;
  ASSERT_TRUE(one.Allocate(2, 1, 24, 0));
  const uint8_t pixels[] = {100, 150, 200, 255, 255, 255};
  std::memcpy(one.pixels(), pixels, sizeof pixels);
  ASSERT_TRUE(one.ConvertInto(gray, 8, nullptr));
  EXPECT_EQ(gray.row(0)[0], 140);
  EXPECT_EQ(gray.row(0)[1], 255);

  for (int32_t bits : {24, 32, 8}) {
    PictureBuffer source, target;
    ASSERT_TRUE(source.Allocate(7, 4, bits, bits == 8 ? 256 : 0));
    Fill(source);
    ASSERT_TRUE(source.ConvertInto(target, 8, nullptr));
    ASSERT_EQ(target.bits_per_pixel(), 8);
    EXPECT_EQ(target.palette_count(), 0) << "gray targets have no palette";
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 7; ++x) {
        int want;
        if (bits == 8) {
          const PaletteEntry& e = source.palette()[Pattern(x, y, 0)];
          want = ExpectedGray(e.red, e.green, e.blue);
        } else {
          const int skip = bits == 32 ? 1 : 0;
          want = ExpectedGray(Pattern(x, y, skip), Pattern(x, y, skip + 1), Pattern(x, y, skip + 2));
        }
        ASSERT_EQ(target.row(y)[x], want) << "from " << bits << " bits, pixel " << x << "," << y;
      }
  }
}

TEST(PictureBuffer, SameDepthCopiesAndCopyFromIsExact) {
  for (int32_t bits : {8, 24}) {
    PictureBuffer source, target;
    ASSERT_TRUE(source.Allocate(9, 5, bits, 0));
    Fill(source);
    ASSERT_TRUE(source.ConvertInto(target, bits, nullptr));
    ASSERT_EQ(target.total_size(), source.total_size());
    EXPECT_EQ(std::memcmp(target.pixels(), source.pixels(), source.stride() * 5), 0);
  }
  PictureBuffer paletted, copy;
  ASSERT_TRUE(paletted.Allocate(3, 2, 8, 16));
  Fill(paletted);
  ASSERT_TRUE(copy.CopyFrom(paletted));
  EXPECT_EQ(copy.palette_count(), 16);
  EXPECT_EQ(std::memcmp(copy.pixels(), paletted.pixels(), 6), 0);
  EXPECT_EQ(std::memcmp(copy.palette(), paletted.palette(), 16 * sizeof(PaletteEntry)), 0);
  EXPECT_NE(copy.pixels(), paletted.pixels()) << "a copy owns its own pixels";

  PictureBuffer empty;
  ASSERT_TRUE(copy.CopyFrom(empty));
  EXPECT_FALSE(copy.allocated()) << "copying an empty buffer empties the target";
}

TEST(PictureBuffer, ConvertIntoRefusesWhatItCannotDo) {
  PictureBuffer source, target, sixteen, empty;
  PaletteEntry palette[256] = {};
  ASSERT_TRUE(source.Allocate(2, 2, 24, 0));
  ASSERT_TRUE(sixteen.Allocate(2, 2, 16, 0));
  EXPECT_FALSE(source.ConvertInto(target, 8, palette)) << "reduced palettes are not supported";
  EXPECT_FALSE(source.ConvertInto(target, 16, nullptr));
  EXPECT_FALSE(source.ConvertInto(target, 32, nullptr));
  EXPECT_FALSE(source.ConvertInto(source, 8, nullptr));
  EXPECT_FALSE(sixteen.ConvertInto(target, 24, nullptr));
  EXPECT_FALSE(empty.ConvertInto(target, 24, nullptr));
}
