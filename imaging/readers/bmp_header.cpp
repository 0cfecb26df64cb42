// BMP layout: a 14-byte file header ("BM", or "BA" as older files have it;
// the pixel-data offset at byte 10), then an info header whose first four
// bytes give its length. Twelve bytes are the OS/2 form (16-bit sizes, bit
// count at 10, palette entries of three bytes). Longer ones share the
// Windows fields: 32-bit width and height (negative: rows stored top row
// first), bit count at 14, compression at 16, colours used at 32; from 52
// bytes on the header holds the bit-field masks, from 56 the alpha mask, and
// the 124-byte form can point at a colour profile. Lengths below 40 and 64
// are the second OS/2 form, whose compressions 3 and 4 mean other codings.
// A 40-byte header with bit fields is followed by the masks; palettes of
// four-byte entries come next, blue first.
#include "imaging/readers/bmp_header.h"

#include <algorithm>
#include <cstring>

#include "imaging/picture_limits.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreInfoSize = 12;
constexpr uint32_t kV3InfoSize = 40;
constexpr uint32_t kOs2V2InfoSize = 64;
constexpr uint32_t kV5InfoSize = 124;  // the longest header read; longer ones are cut to it
constexpr uint32_t kProfileEmbedded = 0x4D424544;  // colour space "MBED"
// A profile longer than JPEG markers can carry would be dropped anyway.
constexpr uint32_t kLargestProfile = 16 * 1024 * 1024;
constexpr uint32_t kProfileHeaderSize = 128;
// Run-length data can end a picture early, so its length bounds nothing:
// a few bytes may claim millions of rows, each costing time however empty.
// No JPEG holds more rows than this.
constexpr int64_t kMostRunLengthRows = 65500;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// A non-empty run of set bits.
bool IsOneRun(uint32_t mask) {
  if (mask == 0) return false;
  while ((mask & 1) == 0) mask >>= 1;
  return (mask & (mask + 1)) == 0;
}

bool MasksValid(const uint32_t masks[4], unsigned bits) {
  const uint32_t pixel = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  uint32_t seen = 0;
  for (int i = 0; i < 4; ++i) {
    if (i == 3 && masks[i] == 0) continue;  // no alpha
    if (!IsOneRun(masks[i]) || (masks[i] & ~pixel) != 0 || (masks[i] & seen) != 0) return false;
    seen |= masks[i];
  }
  return true;
}

uint32_t LoadBig32(const uint8_t* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

// Reads the profile an info header of 124 bytes points at, relative to the
// info header's start. Writers may pad it: its own length field says how
// much of the stored bytes it is. One that does not lie inside the file, is
// longer than stored or lacks its signature is dropped: the picture still
// reads.
void ReadProfile(StdioFile& file, const uint8_t* info, BmpHeader* header) {
  if (LoadLittle32(info + 56) != kProfileEmbedded) return;
  const int64_t offset = int64_t{kFileHeaderSize} + LoadLittle32(info + 112);
  const uint32_t size = LoadLittle32(info + 116);
  if (size < kProfileHeaderSize || size > kLargestProfile || offset + size > header->file_size) return;
  std::string profile(size, '\0');
  if (!file.Seek(offset) || !file.ReadExactly(&profile[0], size)) return;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(profile.data());
  const uint32_t length = LoadBig32(bytes);
  if (length < kProfileHeaderSize || length > size || std::memcmp(bytes + 36, "acsp", 4) != 0) return;
  profile.resize(length);
  header->profile = std::move(profile);
}

// Decides the coding from the bit count and compression; false for
// combinations this reader does not decode.
bool ChooseCoding(unsigned bits, uint32_t compression, bool os2, BmpHeader* header) {
  // 24-bit pixels are read plain whatever compression up to 3 says, as
  // they always were.
  if (bits == 24) return compression <= kBitFields;
  header->coding = BmpCoding::kPlain;
  if (compression == kRgb) return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 32;
  if (compression == kRle8 && bits == 8) header->coding = BmpCoding::kRle8;
  else if (compression == kRle4 && bits == 4) header->coding = BmpCoding::kRle4;
  else if (os2 || (compression != kBitFields && compression != kAlphaBitFields) || (bits != 16 && bits != 32))
    return false;
  return true;
}

}  // namespace

PixelLayout BmpHeader::layout() const {
  if (bits <= 8) return PixelLayout::kPalette8;
  return has_alpha() ? PixelLayout::kArgb32 : PixelLayout::kRgb24;
}

bool ReadBmpHeader(StdioFile& file, BmpHeader* header) {
  uint8_t start[kFileHeaderSize + 4];
  if (!file.ReadExactly(start, sizeof start)) return false;
  if (start[0] != 'B' || (start[1] != 'M' && start[1] != 'A')) return false;
  const uint32_t offset = LoadLittle32(start + 10);
  const uint32_t info_size = LoadLittle32(start + 14);
  if (info_size != kCoreInfoSize && info_size < 16) return false;
  const bool os2 = info_size != kCoreInfoSize && (info_size < kV3InfoSize || info_size == kOs2V2InfoSize);

  // Fields past the end of a short header read as zero.
  uint8_t info[kV5InfoSize] = {};
  std::memcpy(info, start + kFileHeaderSize, 4);
  if (!file.ReadExactly(info + 4, std::min(info_size, kV5InfoSize) - 4)) return false;
  header->file_size = file.Size();
  if (header->file_size < 0) return false;

  // Sizes are widened to 64 bits before any arithmetic: a height of
  // INT32_MIN must be refused, not negated.
  int64_t width = 0, height = 0;
  uint32_t compression = kRgb, colours_used = 0;
  if (info_size == kCoreInfoSize) {
    width = LoadLittle16(info + 4);
    height = LoadLittle16(info + 6);
    header->bits = LoadLittle16(info + 10);
  } else {
    width = static_cast<int32_t>(LoadLittle32(info + 4));
    height = static_cast<int32_t>(LoadLittle32(info + 8));
    header->bits = LoadLittle16(info + 14);
    compression = LoadLittle32(info + 16);
    colours_used = LoadLittle32(info + 32);
  }
  if (!ChooseCoding(header->bits, compression, os2, header)) return false;

  // Where the masks or the palette start; the pixels may not start before.
  int64_t tables = int64_t{kFileHeaderSize} + info_size;
  const unsigned bits = header->bits;
  if (compression == kBitFields || compression == kAlphaBitFields) {
    if (bits != 24 && info_size >= 52) {
      for (int i = 0; i < 3; ++i) header->masks[i] = LoadLittle32(info + 40 + 4 * i);
      if (info_size >= 56) header->masks[3] = LoadLittle32(info + 52);
    } else if (bits != 24) {
      const int count = compression == kAlphaBitFields ? 4 : 3;
      uint8_t masks[16];
      if (!file.Seek(tables) || !file.ReadExactly(masks, 4 * count)) return false;
      for (int i = 0; i < count; ++i) header->masks[i] = LoadLittle32(masks + 4 * i);
      tables += 4 * count;
    }
  } else if (bits == 16) {
    const uint32_t five_five_five[4] = {0x7C00, 0x03E0, 0x001F, 0};
    std::memcpy(header->masks, five_five_five, sizeof five_five_five);
  } else if (bits == 32) {
    const uint32_t eight_eight_eight[4] = {0xFF0000, 0xFF00, 0xFF, 0};
    std::memcpy(header->masks, eight_eight_eight, sizeof eight_eight_eight);
  }
  if ((bits == 16 || bits == 32) && !MasksValid(header->masks, bits)) return false;
  if (offset < tables) return false;

  if (width < 1 || height == 0) return false;
  header->bottom_up = height > 0;
  if (height < 0) {
    if (header->coding != BmpCoding::kPlain) return false;  // run-length data is always bottom-up
    height = -height;
  }
  if (header->coding != BmpCoding::kPlain && height > kMostRunLengthRows) return false;
  if (!PictureFitsLimits(width, height, static_cast<unsigned>(BytesPerPixel(header->layout())))) return false;
  header->width = static_cast<int32_t>(width);
  header->height = static_cast<int32_t>(height);
  header->pixel_offset = offset;

  if (bits <= 8) {
    // As many entries as the header says and fit before the pixels.
    const unsigned entry_bytes = info_size == kCoreInfoSize ? 3 : 4;
    uint32_t count = 1u << bits;
    if (colours_used != 0 && colours_used < count && info_size != kCoreInfoSize) count = colours_used;
    count = static_cast<uint32_t>(std::min<int64_t>(count, (offset - tables) / entry_bytes));
    if (count == 0) return false;
    uint8_t entries[256 * 4];
    if (!file.Seek(tables) || !file.ReadExactly(entries, count * entry_bytes)) return false;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* entry = entries + i * entry_bytes;
      header->palette[i] = {entry[2], entry[1], entry[0], 0};
    }
    header->palette_count = static_cast<int32_t>(count);
  }
  if (info_size >= kV5InfoSize) ReadProfile(file, info, header);
  return true;
}
