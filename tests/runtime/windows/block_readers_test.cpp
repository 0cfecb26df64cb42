// The shared readers of stored fonts, pictures and image lists: good blocks
// become platform objects with the stored shape, damaged ones are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/control_types.h"

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// A BMP file of `width` x `height` at `bits` per pixel; every pixel byte is
// `fill`, and 8-bit pictures get a grey ramp palette.
std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint16_t bits, uint8_t fill = 0x40) {
  const uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
  const uint32_t stride = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
  const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
  const uint32_t offset = 14 + 40 + palette;
  std::vector<uint8_t> out{'B', 'M'};
  PutU32(out, offset + stride * rows);
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, bits);
  for (int i = 0; i < 6; ++i) PutU32(out, 0);
  for (uint32_t i = 0; i < palette / 4; ++i) PutU32(out, i * 0x010101);
  out.insert(out.end(), stride * rows, fill);
  return out;
}

std::vector<uint8_t> ImageListBlock(uint32_t w, uint32_t h, uint32_t transparent,
                                    const std::vector<uint8_t>& picture) {
  std::vector<uint8_t> out;
  PutU32(out, w);
  PutU32(out, h);
  PutU32(out, transparent);
  out.insert(out.end(), picture.begin(), picture.end());
  return out;
}

std::vector<uint8_t> FontBlock(int32_t height, int32_t weight, uint8_t italic, const char* face) {
  std::vector<uint8_t> out;
  PutU32(out, static_cast<uint32_t>(height));
  for (int i = 0; i < 3; ++i) PutU32(out, 0);
  PutU32(out, static_cast<uint32_t>(weight));
  const uint8_t bytes[8] = {italic, 0, 0, GB2312_CHARSET, 0, 0, 0, 0};
  out.insert(out.end(), bytes, bytes + 8);
  char name[32] = {};
  std::memcpy(name, face, std::min(std::strlen(face), sizeof name));
  out.insert(out.end(), name, name + 32);
  return out;
}

TEST(FontBlock, BecomesTheStoredFontAndRefusesOtherLengths) {
  std::vector<uint8_t> block = FontBlock(-19, FW_BOLD, 1, "宋体");
  ASSERT_EQ(block.size(), kFontBlockSize);
  HFONT font = CreateFontFromBlock(block.data(), block.size());
  ASSERT_NE(font, nullptr);
  LOGFONTA made = {};
  ASSERT_EQ(GetObjectA(font, sizeof made, &made), static_cast<int>(sizeof made));
  EXPECT_EQ(made.lfHeight, -19);
  EXPECT_EQ(made.lfWeight, FW_BOLD);
  EXPECT_EQ(made.lfItalic, 1);
  EXPECT_EQ(made.lfCharSet, GB2312_CHARSET);
  EXPECT_STREQ(made.lfFaceName, "宋体");
  DeleteObject(font);

  // A face name that fills all 32 bytes is cut, never read past the block.
  std::vector<uint8_t> full = FontBlock(-12, FW_NORMAL, 0, "");
  std::memset(full.data() + 28, 'A', 32);
  LOGFONTA read = {};
  ASSERT_TRUE(ReadFontBlock(full.data(), full.size(), &read));
  EXPECT_EQ(std::strlen(read.lfFaceName), 31u);

  EXPECT_EQ(CreateFontFromBlock(block.data(), block.size() - 1), nullptr);
  block.push_back(0);
  EXPECT_EQ(CreateFontFromBlock(block.data(), block.size()), nullptr);
  EXPECT_EQ(CreateFontFromBlock(nullptr, kFontBlockSize), nullptr);
}

TEST(PictureBlock, BecomesABitmapOfTheStoredSizeAndPixels) {
  const std::vector<uint8_t> picture = Bmp(5, -3, 24, 0x80);
  HBITMAP bitmap = CreateBitmapFromBlock(picture.data(), picture.size());
  ASSERT_NE(bitmap, nullptr);
  BITMAP shape = {};
  ASSERT_EQ(GetObjectA(bitmap, sizeof shape, &shape), static_cast<int>(sizeof shape));
  EXPECT_EQ(shape.bmWidth, 5);
  EXPECT_EQ(shape.bmHeight, 3);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 4, 2), RGB(0x80, 0x80, 0x80));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);

  for (uint16_t bits : {1, 4, 8, 32}) {
    const std::vector<uint8_t> other = Bmp(7, 2, bits);
    HBITMAP made = CreateBitmapFromBlock(other.data(), other.size());
    EXPECT_NE(made, nullptr) << bits << " bits";
    if (made) DeleteObject(made);
  }
}

TEST(PictureBlock, RefusesDamagedFiles) {
  const std::vector<uint8_t> good = Bmp(4, 4, 24);
  auto refused = [](std::vector<uint8_t> bytes) {
    HBITMAP bitmap = CreateBitmapFromBlock(bytes.data(), bytes.size());
    if (bitmap) DeleteObject(bitmap);
    return bitmap == nullptr;
  };
  // Every cut short of the whole file loses pixel rows or header fields.
  for (size_t cut = 0; cut < good.size(); cut += 7)
    EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.begin() + cut))) << cut;
  EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.end() - 1)));

  auto patched = [&](size_t at, uint32_t value, int bytes) {
    std::vector<uint8_t> copy = good;
    if (at + static_cast<size_t>(bytes) > copy.size()) return copy;
    for (int i = 0; i < bytes; ++i) copy.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
    return copy;
  };
  EXPECT_TRUE(refused(patched(0, 'P', 1)));               // not "BM"
  EXPECT_TRUE(refused(patched(10, 0xFFFFFFF0, 4)));       // pixels past the end
  EXPECT_TRUE(refused(patched(10, 20, 4)));               // pixels inside the header
  EXPECT_TRUE(refused(patched(14, 12, 4)));               // old core header
  EXPECT_TRUE(refused(patched(14, 0x7FFFFFFF, 4)));       // header past the end
  EXPECT_TRUE(refused(patched(18, 0, 4)));                // no width
  EXPECT_TRUE(refused(patched(18, 0x80000000, 4)));       // negative width
  EXPECT_TRUE(refused(patched(22, 0x40000000, 4)));       // rows past the end
  EXPECT_TRUE(refused(patched(22, 0x80000000, 4)));       // most negative height
  EXPECT_TRUE(refused(patched(28, 16, 2)));               // 16 bits per pixel
  EXPECT_TRUE(refused(patched(30, BI_RLE8, 4)));          // compressed
  // A palette of more entries than the depth allows.
  std::vector<uint8_t> eight = Bmp(4, 4, 8);
  eight[46] = 0x01;  // colours used: 257
  eight[47] = 0x01;
  EXPECT_TRUE(refused(eight));
  EXPECT_FALSE(refused(good));
}

TEST(ImageListBlock, CutsTheStripIntoImagesAndRefusesBadShapes) {
  const std::vector<uint8_t> strip = Bmp(48, 16, 24);
  std::vector<uint8_t> block = ImageListBlock(16, 16, RGB(255, 0, 255), strip);
  HIMAGELIST list = CreateImageListFromBlock(block.data(), block.size());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  ImageList_Destroy(list);

  block = ImageListBlock(8, 8, kNoTransparentColour, strip);
  list = CreateImageListFromBlock(block.data(), block.size());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(list), 6);
  ImageList_Destroy(list);

  for (const std::vector<uint8_t>& bad :
       {ImageListBlock(0, 16, 0, strip), ImageListBlock(16, 0, 0, strip),
        ImageListBlock(64, 16, 0, strip), ImageListBlock(16, 32, 0, strip),
        ImageListBlock(16, 16, 0, std::vector<uint8_t>(strip.begin(), strip.end() - 3)),
        std::vector<uint8_t>(block.begin(), block.begin() + 11)}) {
    HIMAGELIST refused = CreateImageListFromBlock(bad.data(), bad.size());
    EXPECT_EQ(refused, nullptr);
    if (refused) ImageList_Destroy(refused);
  }
}

TEST(ColourCodes, SystemAndDefaultCodesBecomeRealColours) {
  EXPECT_EQ(ResolveColour(0x00123456), static_cast<COLORREF>(0x00123456));
  EXPECT_EQ(ResolveColour(kDefaultBackgroundColour), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ResolveColour(kSystemColourFlag | COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
}

}  // namespace
