// The GIF reader: the first frame on its logical screen, through the global
// or its own colour table, stored in order or interlaced, against the
// picture it was made from; and what a cut, damaged or hostile file gives.
#include "imaging/readers/gif_reader.h"

#include <gtest/gtest.h>

#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

// A frame covering its screen, of pseudo-random indices that keep the code
// table busy.
GifPicture Frame(int32_t width, int32_t height, int colours) {
  GifPicture gif{width, height, MakeColours(colours, 1), 0, 0, 0, width, height};
  uint32_t state = 12345;
  for (int32_t i = 0; i < width * height; ++i)
    gif.indices.push_back(static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 16) % colours);
  for (gif.code_size = 2; (1 << gif.code_size) < colours;) ++gif.code_size;
  return gif;
}

// What the screen must show: the frame through its table where it lies,
// the global table's background colour (black without one) elsewhere.
Pixels Screen(const GifPicture& gif) {
  const int32_t width = gif.screen_width != 0 ? gif.screen_width : gif.left + gif.width;
  const int32_t height = gif.screen_height != 0 ? gif.screen_height : gif.top + gif.height;
  const std::vector<uint8_t>& table = gif.local.empty() ? gif.global : gif.local;
  const uint8_t black[3] = {0, 0, 0};
  const uint8_t* background = 3u * gif.background < gif.global.size() ? &gif.global[3u * gif.background] : black;
  Pixels screen{width, height, 3, {}};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const int32_t fx = x - gif.left, fy = y - gif.top;
      const bool inside = fx >= 0 && fx < gif.width && fy >= 0 && fy < gif.height;
      const uint8_t* colour = inside ? &table[3u * gif.indices[static_cast<size_t>(fy) * gif.width + fx]] : background;
      screen.samples.insert(screen.samples.end(), colour, colour + 3);
    }
  return screen;
}

}  // namespace

TEST(GifReader, ReadsTheFirstFrameOnItsScreenAndRefusesBrokenFiles) {
  struct Case {
    std::string name;
    GifPicture gif;
    std::string file;  // MakeGif(gif) when empty
    ReadOutcome want = ReadOutcome::kDecoded;
  };
  std::vector<Case> cases;
  const GifPicture base = Frame(13, 11, 4);
  cases.push_back({"global table", base});
  GifPicture own = Frame(13, 11, 16);
  own.local = MakeColours(16, 2);
  cases.push_back({"own table over a global one", own});

  GifPicture inside = Frame(5, 3, 4);
  inside.screen_width = 13, inside.screen_height = 11, inside.left = 4, inside.top = 2, inside.background = 3;
  cases.push_back({"frame inside the screen", inside});
  inside.local = MakeColours(8, 3);
  cases.push_back({"frame with its own table inside the screen", inside});
  // A full table of its own, holding the background colour.
  inside.local = MakeColours(256, 4);
  inside.global.assign(&inside.local[3 * 77], &inside.local[3 * 78]);
  inside.background = 0;
  cases.push_back({"frame with a full table of its own inside the screen", inside});
  GifPicture beyond = Frame(10, 14, 4);
  beyond.screen_width = 13, beyond.screen_height = 11, beyond.left = 8, beyond.top = 3;
  cases.push_back({"frame cut at the screen's edges", beyond});
  beyond.interlaced = true;
  cases.push_back({"interlaced frame cut at the screen's edges", beyond});
  GifPicture no_screen = Frame(5, 4, 4);
  no_screen.screen_width = no_screen.screen_height = 0, no_screen.left = 2, no_screen.top = 1;
  cases.push_back({"screen of no size", no_screen});

  // Enough pixels to fill the code table many times over; with few colours
  // a kept table's last entries are used often.
  cases.push_back({"full code table, cleared", Frame(300, 200, 256)});
  GifPicture kept = Frame(300, 200, 16);
  kept.clear_when_full = false;
  cases.push_back({"full code table, kept", kept});

  const std::string good = MakeGif(base);
  GifPicture second = base;
  second.indices.assign(second.indices.size(), 1);
  cases.push_back({"second frame left alone", base, good.substr(0, good.size() - 1) + MakeGifFrame(second) + ";"});
  cases.push_back({"file ending after the frame's data", base, good.substr(0, good.size() - 2)});

  // Screen and frame said to be one row taller than the data; a code naming
  // no entry yet (the clear code 4, then 7 where 6 is next, 3 bits each).
  const size_t frame = good.find(MakeGifFrame(base));  // its height at 7, code size at 10
  std::string short_data = good;
  PutLittle16(short_data, 8, 12);
  PutLittle16(short_data, frame + 7, 12);
  cases.push_back({"data ending before the frame is complete", base, short_data, ReadOutcome::kDecodeFailed});
  const std::string bad_code = good.substr(0, frame + 11) + std::string("\x01\x3C\x00;", 4);
  cases.push_back({"a code naming no entry", base, bad_code, ReadOutcome::kDecodeFailed});
  GifPicture colourless = base;
  colourless.global.clear();
  cases.push_back({"no colour table", colourless, MakeGif(colourless), ReadOutcome::kRefused});
  cases.push_back({"65535 x 65535 screen", base, std::string(good).replace(6, 4, "\xFF\xFF\xFF\xFF"), ReadOutcome::kRefused});
  cases.push_back({"the end before any frame", base, good.substr(0, frame) + ";", ReadOutcome::kRefused});
  // A graphic control block making index 2 transparent: the colours stay.
  const std::string transparent_two = good.substr(0, frame) + std::string("\x21\xF9\x04\x01\x00\x00\x02\x00", 8) +
                                      good.substr(frame);
  cases.push_back({"a transparent index", base, transparent_two});
  // Cut anywhere before the frame's last pixel (at least two bytes of data
  // gone besides the block end and the trailer), the file fails: before
  // the code size it is not taken as a picture at all.
  for (size_t size = 1; size + 4 <= good.size(); ++size)
    cases.push_back({"cut at " + std::to_string(size), base, good.substr(0, size),
                     size <= frame + 10 ? ReadOutcome::kRefused : ReadOutcome::kDecodeFailed});

  ScratchFolder folder("gif_reader");
  TemporaryFileWatch watch;
  const std::string path = folder.File("picture.gif");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteFileBytes(path, c.file.empty() ? MakeGif(c.gif) : c.file));
    GifReader reader;
    PictureBuffer buffer;
    ASSERT_EQ(ReadThrough(reader, path, &buffer), c.want);
    if (c.want == ReadOutcome::kDecoded) {
      EXPECT_EQ(CompareSamples(ShownPixelsOfBuffer(buffer), Screen(c.gif), 0), "");
    }
  }
  EXPECT_EQ(watch.Leftovers(), "") << "backing files left behind";

  // The transparent index reaches the description as the entry's alpha.
  ASSERT_TRUE(WriteFileBytes(path, transparent_two));
  GifReader reader;
  ASSERT_TRUE(reader.Open(path.c_str(), CancelRequest()));
  const PictureDescription& described = reader.description();
  ASSERT_EQ(described.palette_alpha_count, 3);
  EXPECT_EQ(described.palette_alpha[0], 255);
  EXPECT_EQ(described.palette_alpha[2], 0);
}
