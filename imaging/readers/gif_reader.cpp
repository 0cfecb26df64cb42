// GIF layout: "GIF87a" or "GIF89a"; the logical screen's width and height
// (16 bits each), a flags byte (0x80: a global colour table of 2 << (flags
// & 7) red-green-blue entries follows) and the background index. Then
// blocks: 0x21 an extension (a label, then data blocks up to one of length
// 0), 0x2C a frame, 0x3B the end. A frame gives its left, top, width and
// height, a flags byte (0x80: its own colour table; 0x40: interlaced), the
// minimum LZW code size and its data blocks. Interlaced rows come in four
// passes: every 8th row from 0, every 8th from 4, every 4th from 2, every
// 2nd from 1.
#include "imaging/readers/gif_reader.h"

#include <algorithm>
#include <cstring>

#include "imaging/picture_limits.h"
#include "imaging/readers/gif_lzw_decoder.h"

namespace {

constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kFrame = 0x2C;
constexpr uint8_t kTableFollows = 0x80;
constexpr uint8_t kInterlaced = 0x40;
constexpr uint8_t kGraphicControl = 0xF9;  // extension label: delay, disposal, transparency
constexpr uint8_t kHasTransparentIndex = 0x01;

bool ReadColourTable(FileByteSource& data, uint8_t flags, PaletteEntry* table, int32_t* count) {
  *count = 2 << (flags & 7);
  uint8_t bytes[256 * 3];
  if (!data.Read(bytes, static_cast<size_t>(*count) * 3)) return false;
  for (int32_t i = 0; i < *count; ++i) table[i] = {bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2], 0};
  return true;
}

bool SkipDataBlocks(FileByteSource& data) {
  for (uint8_t length = 1; length != 0;)
    if (!data.Next(&length) || !data.Skip(length)) return false;
  return true;
}

// Reads one extension after its introducer. A graphic control block (its
// first data block: flags, a 16-bit delay, the transparent index) sets
// `*transparent` to the index it makes transparent, or to -1.
bool ReadExtension(FileByteSource& data, int32_t* transparent) {
  uint8_t label = 0, length = 0;
  if (!data.Next(&label)) return false;
  if (label != kGraphicControl) return SkipDataBlocks(data);
  if (!data.Next(&length)) return false;
  if (length == 0) return true;
  uint8_t block[255];
  if (!data.Read(block, length)) return false;
  *transparent = length >= 4 && (block[0] & kHasTransparentIndex) != 0 ? block[3] : -1;
  return SkipDataBlocks(data);
}

// The index of `colour` in `description`'s palette: added behind the
// entries when there is room, else the nearest of them.
uint8_t IndexOfColour(const PaletteEntry& colour, PictureDescription* description) {
  if (description->palette_count < 256) {
    description->palette[description->palette_count] = colour;
    return static_cast<uint8_t>(description->palette_count++);
  }
  int nearest = 0, nearest_distance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& entry = description->palette[i];
    const int red = entry.red - colour.red, green = entry.green - colour.green, blue = entry.blue - colour.blue;
    const int distance = red * red + green * green + blue * blue;
    if (distance < nearest_distance) nearest = i, nearest_distance = distance;
  }
  return static_cast<uint8_t>(nearest);
}

}  // namespace

GifReader::GifReader() = default;
GifReader::~GifReader() = default;

void GifReader::ResetFormat() {
  width_ = height_ = left_ = top_ = frame_width_ = frame_height_ = 0;
  interlaced_ = false;
  background_ = 0;
  lzw_.reset();
  data_.Release();
  frame_row_ = std::vector<uint8_t>();
}

bool GifReader::ReadHeader(const char* path, PictureDescription* description) {
  uint8_t screen[13];
  if (!file_.Open(path) || !data_.Start(&file_, 0, file_.Size()) || !data_.Read(screen, sizeof screen)) return false;
  if (std::memcmp(screen, "GIF87a", 6) != 0 && std::memcmp(screen, "GIF89a", 6) != 0) return false;
  PaletteEntry global[256] = {};
  int32_t global_count = 0;
  if ((screen[10] & kTableFollows) != 0 && !ReadColourTable(data_, screen[10], global, &global_count)) return false;

  // Extensions before the first frame are skipped but for the frame's
  // transparent index; the end, or anything else, before a frame leaves no
  // picture.
  int32_t transparent = -1;
  for (uint8_t introducer = 0; introducer != kFrame;) {
    if (!data_.Next(&introducer)) return false;
    if (introducer == kExtension && !ReadExtension(data_, &transparent)) return false;
    if (introducer != kExtension && introducer != kFrame) return false;
  }
  uint8_t frame[10];  // the frame's fields; the code size follows its table
  if (!data_.Read(frame, 9)) return false;
  const int32_t left = LoadLittle16(frame), top = LoadLittle16(frame + 2);
  const int32_t frame_width = LoadLittle16(frame + 4), frame_height = LoadLittle16(frame + 6);
  const bool local = (frame[8] & kTableFollows) != 0;
  int32_t count = global_count;
  if (local && !ReadColourTable(data_, frame[8], description->palette, &count)) return false;
  if (!local) std::copy(global, global + global_count, description->palette);
  if (count == 0 || !data_.Next(&frame[9]) || frame[9] < 1 || frame[9] > 8) return false;
  // The frame's own size bounds the work of decoding it, seen or not.
  if (!PictureFitsLimits(frame_width, frame_height, 1)) return false;

  // A screen of no size is taken as just large enough for the frame.
  int32_t width = LoadLittle16(screen + 6), height = LoadLittle16(screen + 8);
  if (width == 0 || height == 0) width = left + frame_width, height = top + frame_height;
  if (!PictureFitsLimits(width, height, 1)) return false;

  description->width = width_ = width;
  description->height = height_ = height;
  description->layout = PixelLayout::kPalette8;
  description->palette_count = count;
  // The transparent entry keeps its stored colour; its alpha of 0 matters
  // only to a conversion that lays the picture on a background.
  if (transparent >= 0 && transparent < count) {
    std::fill(description->palette_alpha, description->palette_alpha + transparent, uint8_t{255});
    description->palette_alpha[transparent] = 0;
    description->palette_alpha_count = transparent + 1;
  }
  if (left > 0 || top > 0 || left + frame_width < width || top + frame_height < height) {
    // What the frame leaves uncovered shows the screen's background: a
    // colour of the global table, black without one.
    const uint8_t index = screen[11];
    if (!local && index < global_count)
      background_ = index;
    else
      background_ = IndexOfColour(index < global_count ? global[index] : PaletteEntry{0, 0, 0, 0}, description);
  }
  left_ = left;
  top_ = top;
  frame_width_ = frame_width;
  frame_height_ = frame_height;
  interlaced_ = (frame[8] & kInterlaced) != 0;
  description->supply = interlaced_ ? RowSupply::kWholePicture : RowSupply::kStrips;
  lzw_.reset(new GifLzwDecoder(data_, frame[9]));
  frame_row_.resize(static_cast<size_t>(frame_width));
  description->working_bytes = FileByteSource::kChunkBytes + sizeof(GifLzwDecoder) + frame_row_.size();
  return true;
}

bool GifReader::DecodeFrameRow(uint8_t* screen_row) {
  if (!lzw_->Decode(frame_row_.data(), frame_row_.size())) return false;
  if (screen_row != nullptr && left_ < width_)
    std::memcpy(screen_row + left_, frame_row_.data(), static_cast<size_t>(std::min(frame_width_, width_ - left_)));
  return true;
}

// Rows in order; the frame's rows are decoded as the screen reaches them,
// and those below the screen never are.
bool GifReader::ReadStrip(uint8_t* rows, size_t stride, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    uint8_t* row = rows + static_cast<size_t>(i) * stride;
    std::memset(row, background_, static_cast<size_t>(width_));
    const int32_t y = rows_read() + i;
    if (y >= top_ && y - top_ < frame_height_ && !DecodeFrameRow(row)) return false;
  }
  return true;
}

bool GifReader::DecodeWhole(uint8_t* pixels, size_t stride) {
  if (!interlaced_) return ReadStrip(pixels, stride, height_);
  for (int32_t y = 0; y < height_; ++y) std::memset(pixels + static_cast<size_t>(y) * stride, background_, static_cast<size_t>(width_));
  static const int32_t kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};  // first row, step
  for (const auto& pass : kPasses) {
    for (int32_t row = pass[0]; row < frame_height_; row += pass[1]) {
      const int64_t y = int64_t{top_} + row;
      if (cancel_requested() || !DecodeFrameRow(y < height_ ? pixels + static_cast<size_t>(y) * stride : nullptr))
        return false;
    }
  }
  return true;
}
