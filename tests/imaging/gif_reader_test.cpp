// The GIF reader: the first frame on its logical screen, through the global
// or its own colour table, stored in order or interlaced, against the
// picture it was made from; and what a cut, damaged or hostile file gives.
#include "imaging/readers/gif_reader.h"

#include <gtest/gtest.h>

#include "imaging/picture_loader.h"
#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

std::vector<uint8_t> Colours(int count, int seed) {
  std::vector<uint8_t> rgb;
  for (int i = 0; i < count; ++i)
    rgb.insert(rgb.end(), {static_cast<uint8_t>(i * 7 + seed), static_cast<uint8_t>(i * 53 + 3 * seed),
                           static_cast<uint8_t>(250 - i * 3 - seed)});
  return rgb;
}

// Pseudo-random indices below `values`: data that keeps the code table busy.
std::vector<uint8_t> Noise(int32_t width, int32_t height, int values) {
  std::vector<uint8_t> indices(static_cast<size_t>(width) * height);
  uint32_t state = 12345;
  for (uint8_t& index : indices) index = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 16) % values;
  return indices;
}

GifPicture Frame(int32_t width, int32_t height, int colours) {
  GifPicture gif;
  gif.screen_width = gif.width = width;
  gif.screen_height = gif.height = height;
  gif.global = Colours(colours, 1);
  gif.indices = Noise(width, height, colours);
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
      const bool inside = x >= gif.left && x < gif.left + gif.width && y >= gif.top && y < gif.top + gif.height;
      const uint8_t* colour = inside ? &table[3u * gif.indices[static_cast<size_t>(y - gif.top) * gif.width + x - gif.left]] : background;
      screen.samples.insert(screen.samples.end(), colour, colour + 3);
    }
  return screen;
}

// Where the frame starts in a file made by MakeGif.
size_t FrameAt(const GifPicture& gif) { return MakeGif(gif).find(MakeGifFrame(gif)); }

class GifReaderTest : public ::testing::Test {
 protected:
  ReadOutcome Read(const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(path_, bytes));
    GifReader reader;
    return ReadThrough(reader, path_, &buffer_);
  }
  // The decoded picture through its palette.
  Pixels Shown() {
    PictureBuffer rgb;
    EXPECT_TRUE(buffer_.ConvertInto(rgb, 24, nullptr));
    return PixelsOfBuffer(rgb);
  }
  void TearDown() override {
    buffer_.Release();
    EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind";
  }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"gif_reader"};
  std::string path_ = folder_.File("picture.gif");
  PictureBuffer buffer_;
};

}  // namespace

TEST_F(GifReaderTest, ReadsTheFirstFrameOnItsScreen) {
  struct Case {
    std::string name;
    GifPicture gif;
    std::string file;  // MakeGif(gif) when empty
  };
  std::vector<Case> cases;
  const GifPicture base = Frame(13, 11, 4);
  cases.push_back({"global table", base, ""});
  GifPicture own = Frame(13, 11, 16);
  own.local = Colours(16, 2);
  cases.push_back({"own table over a global one", own, ""});
  GifPicture interlaced = base;
  interlaced.interlaced = true;
  cases.push_back({"interlaced", interlaced, ""});

  GifPicture inside = Frame(5, 3, 4);
  inside.screen_width = 13, inside.screen_height = 11, inside.left = 4, inside.top = 2, inside.background = 3;
  cases.push_back({"frame inside the screen", inside, ""});
  inside.local = Colours(8, 3);
  cases.push_back({"frame with its own table inside the screen", inside, ""});
  // A full table of its own that holds the background colour.
  inside.local = Colours(256, 4);
  inside.global.assign(&inside.local[3 * 77], &inside.local[3 * 78]);
  inside.background = 0;
  cases.push_back({"frame with a full table of its own inside the screen", inside, ""});

  GifPicture beyond = Frame(10, 14, 4);
  beyond.screen_width = 13, beyond.screen_height = 11, beyond.left = 8, beyond.top = 3;
  cases.push_back({"frame cut at the screen's edges", beyond, ""});
  beyond.interlaced = true;
  cases.push_back({"interlaced frame cut at the screen's edges", beyond, ""});
  GifPicture no_screen = Frame(5, 4, 4);
  no_screen.screen_width = no_screen.screen_height = 0, no_screen.left = 2, no_screen.top = 1;
  cases.push_back({"screen of no size", no_screen, ""});

  // Enough pixels to fill the code table many times over; with few colours
  // a kept table's last entries are used often.
  cases.push_back({"full code table, cleared", Frame(300, 200, 256), ""});
  GifPicture kept = Frame(300, 200, 16);
  kept.clear_when_full = false;
  cases.push_back({"full code table, kept", kept, ""});

  const std::string one = MakeGif(base);
  GifPicture second = Frame(13, 11, 4);
  second.indices.assign(second.indices.size(), 1);
  cases.push_back({"second frame left alone", base, one.substr(0, one.size() - 1) + MakeGifFrame(second) + ";"});
  cases.push_back({"file ending after the frame's data", base, one.substr(0, one.size() - 2)});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Read(c.file.empty() ? MakeGif(c.gif) : c.file), ReadOutcome::kDecoded);
    EXPECT_EQ(CompareSamples(Shown(), Screen(c.gif), 0), "");
  }
}

TEST_F(GifReaderTest, DamagedAndHostileFiles) {
  const GifPicture base = Frame(13, 11, 4);
  const std::string good = MakeGif(base);
  const size_t frame = FrameAt(base);  // left, top, width, height at 1, 3, 5, 7; code size at 10
  auto patched = [&](size_t offset, uint16_t value) {
    std::string bytes = good;
    PutLittle16(bytes, offset, value);
    return bytes;
  };
  GifPicture colourless = base;
  colourless.global.clear();
  // A frame and screen one row short of their height; a code naming no entry yet (the clear
  // code 4, then 7 where 6 is the next entry, three bits each).
  GifPicture short_frame = Frame(13, 10, 4);
  std::string too_short = MakeGif(short_frame);
  PutLittle16(too_short, 8, 11);
  PutLittle16(too_short, FrameAt(short_frame) + 7, 11);
  const std::string bad_code = good.substr(0, frame + 11) + std::string("\x01\x3C\x00;", 4);
  std::string code_size_9 = good;
  code_size_9[frame + 10] = 9;

  struct Case {
    const char* what;
    std::string bytes;
    ReadOutcome want;
  } cases[] = {
      {"data ending before the frame is complete", too_short, ReadOutcome::kDecodeFailed},
      {"a code naming no entry", bad_code, ReadOutcome::kDecodeFailed},
      {"no colour table", MakeGif(colourless), ReadOutcome::kRefused},
      {"frame of width 0", patched(frame + 5, 0), ReadOutcome::kRefused},
      {"code size 9", code_size_9, ReadOutcome::kRefused},
      {"65535 x 65535 screen", patched(8, 65535).replace(6, 2, "\xFF\xFF"), ReadOutcome::kRefused},
      {"the end before any frame", good.substr(0, frame) + ";", ReadOutcome::kRefused},
      {"GIF88a", "GIF88a" + good.substr(6), ReadOutcome::kRefused},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.bytes), c.want) << c.what;

  // Cut anywhere before the frame's last pixel, the file fails; without
  // its last block end and trailer it reads.
  for (size_t size = 0; size + 4 <= good.size(); ++size)
    EXPECT_NE(Read(good.substr(0, size)), ReadOutcome::kDecoded) << "cut at " << size << " of " << good.size();
  EXPECT_EQ(Read(good.substr(0, good.size() - 2)), ReadOutcome::kDecoded);
}
