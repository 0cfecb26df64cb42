// HEIC, AVIF and WebP pictures of each layout through the loader, under a
// misleading name, compared with the pixels they were made from (or, for
// lossy WebP, libwebp's own decode of the same file), with the metadata
// they hand on; and the pictures refused before decoding.
#include <gtest/gtest.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/memory_budget.h"
#include "imaging/picture_loader.h"
#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"

namespace {

// The pattern tests/pictures/make-phone-pictures.sh made its files from,
// alpha first where there is alpha; deeper files rounded to 8 bits.
Pixels Pattern(int w, int h, bool alpha, int depth = 8) {
  Pixels p{w, h, alpha ? 4 : 3, {}};
  const int most = (1 << depth) - 1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (alpha) p.samples.push_back(static_cast<uint8_t>(255 - x * 200 / (w - 1)));
      const int rgb[3] = {x * 255 / (w - 1), y * 255 / (h - 1), 255 - (x + y) * 255 / (w + h - 2)};
      const int deep[3] = {x * most / (w - 1), y * most / (h - 1), (37 * x + 91 * y) % (most + 1)};
      for (int c = 0; c < 3; ++c)
        p.samples.push_back(static_cast<uint8_t>(depth == 8 ? rgb[c] : (deep[c] * 255 + most / 2) / most));
    }
  return p;
}

Pixels TurnedClockwise(const Pixels& in) {
  Pixels out{in.height, in.width, in.components, {}};
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      for (int c = 0; c < in.components; ++c) out.samples.push_back(in.at(y, in.height - 1 - x, c));
  return out;
}

// sRGB-curved values taken as BT.2020 primaries, in sRGB: the published
// BT.2020-to-BT.709 matrix in linear light.
Pixels Bt2020InSrgb(const Pixels& in) {
  const double m[3][3] = {{1.6605, -0.5876, -0.0728}, {-0.1246, 1.1329, -0.0083}, {-0.0182, -0.1006, 1.1187}};
  auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  auto curved = [](double l) { return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055; };
  Pixels out = in;
  for (size_t i = 0; i < in.samples.size(); i += 3)
    for (int r = 0; r < 3; ++r) {
      double l = 0;
      for (int c = 0; c < 3; ++c) l += m[r][c] * linear(in.samples[i + c] / 255.0);
      out.samples[i + r] = static_cast<uint8_t>(std::lround(255 * curved(std::clamp(l, 0.0, 1.0))));
    }
  return out;
}

Pixels AlphaFirst(const Pixels& rgba) {
  Pixels out = rgba;
  for (size_t i = 0; i < out.samples.size(); i += 4) std::rotate(&out.samples[i], &out.samples[i + 3], &out.samples[i + 4]);
  return out;
}

// WebP files are made here: libwebp encodes, and the chunks are put into
// the extended container by hand.
std::string Le(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}
std::string Chunk(const std::string& fourcc, const std::string& payload) {
  return fourcc + Le(static_cast<uint32_t>(payload.size()), 4) + payload + std::string(payload.size() & 1, '\0');
}
std::string Riff(const std::string& chunks) { return "RIFF" + Le(static_cast<uint32_t>(chunks.size() + 4), 4) + "WEBP" + chunks; }
std::string Vp8x(uint8_t flags, int w, int h) {
  return Chunk("VP8X", std::string(1, static_cast<char>(flags)) + Le(0, 3) + Le(w - 1, 3) + Le(h - 1, 3));
}
// `rgba` encoded, lossless or at quality 90, without its container.
std::string Encode(const Pixels& rgba, bool lossless) {
  uint8_t* out = nullptr;
  const int stride = rgba.width * 4;
  const size_t size = lossless ? WebPEncodeLosslessRGBA(rgba.samples.data(), rgba.width, rgba.height, stride, &out)
                               : WebPEncodeRGBA(rgba.samples.data(), rgba.width, rgba.height, stride, 90, &out);
  std::string file(reinterpret_cast<char*>(out), size);
  WebPFree(out);
  // A lossy picture with alpha comes in an extended container: skip its VP8X.
  return file.substr(file.compare(12, 4, "VP8X") == 0 ? 30 : 12);
}
Pixels Opaque(Pixels rgba) {
  for (size_t i = 3; i < rgba.samples.size(); i += 4) rgba.samples[i] = 255;
  return rgba;
}
Pixels WebpDecoded(const std::string& file, bool alpha) {
  Pixels p{0, 0, alpha ? 4 : 3, {}};
  const auto* data = reinterpret_cast<const uint8_t*>(file.data());
  uint8_t* rows = alpha ? WebPDecodeARGB(data, file.size(), &p.width, &p.height)
                        : WebPDecodeRGB(data, file.size(), &p.width, &p.height);
  if (rows != nullptr) p.samples.assign(rows, rows + p.width * p.height * p.components);
  WebPFree(rows);
  return p;
}

const std::string kXmp = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>";
// EXIF of Orientation 6 (its value at byte 18) and a date, as the script writes it.
const std::string kExif = std::string("II*\0\x08\0\0\0\x02\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\x32\x01\x02\0\x14\0\0\0\x26\0\0\0\0\0\0\0", 38) +
                          std::string("2024:05:06 07:08:09", 20);
const std::string kProfile = std::string(36, '\0') + "acsp" + std::string(88, '\0');

struct Case {
  const char* name;
  std::function<std::string()> file;  // the file's bytes
  ReadOutcome outcome;
  Pixels want;
  int tolerance = 0;
  int orientation = 0;  // of the EXIF handed on; 0: none
  bool xmp = false, profile = false;
  uint64_t budget = 0;  // a memory budget of this capacity while the case runs
};

std::string Kept(const char* name) { return ReadFileBytes(std::string(TULVEX_PICTURES_DIR) + "/" + name); }
std::string Patched(std::string bytes, const std::string& at, size_t skip, const std::string& with) {
  return bytes.replace(bytes.find(at) + skip, with.size(), with);
}

}  // namespace

TEST(PhoneWebReaders, EachLayoutDecodesAsMadeWithItsMetadata) {
  const Pixels rgba = MakeGradient(24, 16, 4), small = MakeGradient(10, 6, 4);
  const std::string lossy = Riff(Encode(Opaque(rgba), false)), lossy_alpha = Riff(Vp8x(0x10, 24, 16) + Encode(rgba, false));
  Pixels canvas{24, 16, 4, std::vector<uint8_t>(24 * 16 * 4, 0)};
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x)
      for (int c = 0; c < 4; ++c)
        canvas.samples[((y + 2) * 24 + x + 4) * 4 + c] = c == 0 ? 255 : small.at(x, y, c - 1);
  auto animated = [&](int w, int h) {
    const std::string frame = Le(2, 3) + Le(1, 3) + Le(9, 3) + Le(5, 3) + Le(100, 3) + std::string(1, '\0');
    return Riff(Vp8x(0x02, w, h) + Chunk("ANIM", Le(0, 4) + Le(0, 2)) + Chunk("ANMF", frame + Encode(Opaque(small), true)) +
                Chunk("ANMF", frame + Encode(Opaque(small), false)));
  };
  const Case cases[] = {
      {"HEIC", [] { return Kept("heic-8bit.heic"); }, ReadOutcome::kDecoded, Pattern(24, 16, false), 3},
      {"HEIC 10-bit", [] { return Kept("heic-10bit.heic"); }, ReadOutcome::kDecoded, Pattern(24, 16, false, 10), 2},
      {"HEIC alpha", [] { return Kept("heic-alpha.heic"); }, ReadOutcome::kDecoded, Pattern(24, 16, true), 3},
      {"AVIF", [] { return Kept("avif-8bit.avif"); }, ReadOutcome::kDecoded, Pattern(24, 16, false)},
      {"AVIF 10-bit", [] { return Kept("avif-10bit.avif"); }, ReadOutcome::kDecoded, Pattern(24, 16, false, 10)},
      {"AVIF 12-bit", [] { return Kept("avif-12bit.avif"); }, ReadOutcome::kDecoded, Pattern(24, 16, false, 12)},
      {"AVIF alpha", [] { return Kept("avif-alpha.avif"); }, ReadOutcome::kDecoded, Pattern(24, 16, true)},
      {"AVIF grid", [] { return Kept("avif-grid.avif"); }, ReadOutcome::kDecoded, Pattern(128, 128, false)},
      {"AVIF turned", [] { return Kept("avif-turned-metadata.avif"); }, ReadOutcome::kDecoded,
       TurnedClockwise(Pattern(24, 16, false)), 0, 1, true, true},
      {"AVIF BT.2020", [] { return Kept("avif-bt2020.avif"); }, ReadOutcome::kDecoded,
       Bt2020InSrgb(Pattern(24, 16, false)), 2},
      {"WebP lossy", [&] { return lossy; }, ReadOutcome::kDecoded, WebpDecoded(lossy, false)},
      {"WebP lossy alpha", [&] { return lossy_alpha; }, ReadOutcome::kDecoded, WebpDecoded(lossy_alpha, true)},
      {"WebP lossless alpha", [&] { return Riff(Encode(rgba, true)); }, ReadOutcome::kDecoded, AlphaFirst(rgba)},
      {"WebP animation", [&] { return animated(24, 16); }, ReadOutcome::kDecoded, canvas},
      {"WebP metadata", [&] {
         return Riff(Vp8x(0x2C, 24, 16) + Chunk("ICCP", kProfile) + Encode(Opaque(rgba), true) +
                     Chunk("EXIF", std::string("Exif\0\0", 6) + kExif) + Chunk("XMP ", kXmp));
       }, ReadOutcome::kDecoded, WebpDecoded(Riff(Encode(Opaque(rgba), true)), false), 0, 6, true, true},
      {"HEIF over the pixel limit", [] { return Patched(Kept("avif-8bit.avif"), "ispe", 8, Le(0x204E0000, 4) + Le(0x204E0000, 4)); },
       ReadOutcome::kRefused, {}},
      {"WebP canvas over the pixel limit", [&] { return animated(20000, 20000); }, ReadOutcome::kRefused, {}},
      {"HEIF over the memory budget", [] { return Kept("avif-grid.avif"); }, ReadOutcome::kRefused, {}, 0, 0, false, false, 1 << 20},
      {"WebP over the memory budget", [&] { return Riff(Encode(rgba, true)); }, ReadOutcome::kRefused, {}, 0, 0, false, false, 1 << 20},
      {"HEIF cut short", [] { const std::string f = Kept("avif-grid.avif"); return f.substr(0, f.size() - 900); },
       ReadOutcome::kRefused, {}},
      {"WebP cut short", [&] { return lossy.substr(0, lossy.size() - 40); }, ReadOutcome::kRefused, {}},
  };

  ScratchFolder folder("phone_web_readers");
  const std::string path = folder.File("picture.gif");
  MemoryBudget& budget = PictureMemoryBudget();
  const uint64_t capacity = budget.capacity();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteFileBytes(path, c.file()));
    if (c.budget != 0) budget.SetCapacity(c.budget);
    std::unique_ptr<PictureReader> reader;
    const bool opened = PictureLoader::OpenReader(path.c_str(), &reader) == 1;
    budget.SetCapacity(capacity);
    std::vector<MetadataBlock> metadata;
    PictureBuffer buffer;
    ReadOutcome outcome = ReadOutcome::kRefused;
    if (opened) {
      EXPECT_EQ(reader->description().supply, RowSupply::kWholePicture);
      metadata = reader->description().metadata;
      outcome = ReadWholePictureInto(*reader, &buffer) ? ReadOutcome::kDecoded : ReadOutcome::kDecodeFailed;
    }
    EXPECT_EQ(std::remove(path.c_str()), 0) << "the file is still held";
    ASSERT_EQ(outcome, c.outcome);
    if (outcome != ReadOutcome::kDecoded) continue;
    EXPECT_EQ(CompareSamples(PixelsOfBuffer(buffer), c.want, c.tolerance), "");

    std::string exif, xmp, profile;
    for (const MetadataBlock& block : metadata)
      (block.kind == MetadataKind::kExif ? exif : block.kind == MetadataKind::kXmp ? xmp : profile) = block.bytes;
    EXPECT_EQ(exif.empty() ? 0 : exif[18], c.orientation) << "EXIF Orientation";
    if (c.orientation != 0) {
      EXPECT_EQ(exif, kExif.substr(0, 18) + char(c.orientation) + kExif.substr(19));
    }
    EXPECT_EQ(xmp, c.xmp ? kXmp : "");
    EXPECT_EQ(profile.size() > 40 && profile.compare(36, 4, "acsp") == 0, c.profile) << "a profile";
  }
}
