// Picture and image-list blocks: stored BMP files become bitmaps and image
// lists. Every size is checked against the block before anything is copied.
#include "runtime/windows/picture_block.h"

#include <cstring>
#include <vector>

#include "runtime/windows/templates/byte_cursor.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kLargestSide = 16384;

// The part of the information header and palette that a bitmap is made of.
struct PictureLayout {
  BITMAPINFOHEADER header = {};
  std::vector<RGBQUAD> palette;
  const uint8_t* pixels = nullptr;
  size_t pixel_bytes = 0;
};

bool ReadPalette(ByteCursor& cursor, uint32_t entries, std::vector<RGBQUAD>* palette) {
  if (!cursor.CountFits(entries, 4)) return false;
  palette->resize(entries);
  for (RGBQUAD& entry : *palette) {
    entry.rgbBlue = cursor.U8();
    entry.rgbGreen = cursor.U8();
    entry.rgbRed = cursor.U8();
    entry.rgbReserved = cursor.U8();
  }
  return cursor.ok();
}

bool ReadPicture(const uint8_t* block, size_t size, PictureLayout* layout) {
  ByteCursor cursor(block, size);
  if (cursor.U8() != 'B' || cursor.U8() != 'M') return false;
  cursor.U32();  // file size: writers disagree on it, the block size rules
  cursor.U32();
  const uint32_t pixel_offset = cursor.U32();

  BITMAPINFOHEADER& header = layout->header;
  header.biSize = cursor.U32();
  header.biWidth = cursor.I32();
  header.biHeight = cursor.I32();
  header.biPlanes = cursor.U16();
  header.biBitCount = cursor.U16();
  header.biCompression = cursor.U32();
  header.biSizeImage = cursor.U32();
  header.biXPelsPerMeter = cursor.I32();
  header.biYPelsPerMeter = cursor.I32();
  header.biClrUsed = cursor.U32();
  header.biClrImportant = cursor.U32();
  if (!cursor.ok() || header.biSize < kInfoHeaderSize) return false;
  // Later header versions only add fields after these; skip them.
  if (cursor.Bytes(header.biSize - kInfoHeaderSize) == nullptr) return false;

  const int32_t width = header.biWidth;
  const int32_t height = header.biHeight;
  if (width <= 0 || width > kLargestSide || height == 0 || height < -kLargestSide ||
      height > kLargestSide || header.biPlanes != 1 || header.biCompression != BI_RGB)
    return false;
  const uint16_t bits = header.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;

  if (bits <= 8) {
    const uint32_t full = 1u << bits;
    const uint32_t entries = header.biClrUsed == 0 ? full : header.biClrUsed;
    if (entries > full || !ReadPalette(cursor, entries, &layout->palette)) return false;
  }
  header.biClrUsed = static_cast<DWORD>(layout->palette.size());
  header.biClrImportant = 0;
  header.biSizeImage = 0;

  // Rows are padded to whole 32-bit words; the sizes cannot overflow 64 bits
  // with sides of at most 16384 pixels.
  const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  const uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
  const uint64_t needed = stride * rows;
  const size_t headers_end = size - cursor.left();
  if (pixel_offset < headers_end || pixel_offset > size || needed > size - pixel_offset)
    return false;
  layout->pixels = block + pixel_offset;
  layout->pixel_bytes = static_cast<size_t>(needed);
  return true;
}

}  // namespace

HBITMAP CreateBitmapFromBlock(const uint8_t* block, size_t size) {
  if (block == nullptr || size < kFileHeaderSize + kInfoHeaderSize) return nullptr;
  PictureLayout layout;
  if (!ReadPicture(block, size, &layout)) return nullptr;

  // The information record is built field by field above; here it is laid
  // out as the platform wants it, header then palette.
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + layout.palette.size() * sizeof(RGBQUAD) +
                            sizeof(RGBQUAD));
  std::memcpy(info.data(), &layout.header, sizeof layout.header);
  if (!layout.palette.empty())
    std::memcpy(info.data() + sizeof layout.header, layout.palette.data(),
                layout.palette.size() * sizeof(RGBQUAD));

  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  std::memcpy(bits, layout.pixels, layout.pixel_bytes);
  GdiFlush();
  return bitmap;
}

HIMAGELIST CreateImageListFromBlock(const uint8_t* block, size_t size) {
  ByteCursor cursor(block, size);
  const uint32_t image_width = cursor.U32();
  const uint32_t image_height = cursor.U32();
  const uint32_t transparent = cursor.U32();
  if (!cursor.ok() || image_width == 0 || image_height == 0 ||
      image_width > static_cast<uint32_t>(kLargestSide) ||
      image_height > static_cast<uint32_t>(kLargestSide))
    return nullptr;

  HBITMAP strip = CreateBitmapFromBlock(cursor.position(), cursor.left());
  if (strip == nullptr) return nullptr;
  BITMAP shape = {};
  HIMAGELIST list = nullptr;
  if (GetObjectA(strip, sizeof shape, &shape) == sizeof shape &&
      static_cast<uint32_t>(shape.bmWidth) >= image_width &&
      static_cast<uint32_t>(shape.bmHeight) >= image_height) {
    const int count = shape.bmWidth / static_cast<int>(image_width);
    list = ImageList_Create(static_cast<int>(image_width), static_cast<int>(image_height),
                            ILC_COLOR24 | ILC_MASK, count, 4);
  }
  if (list != nullptr) {
    const int added = transparent == kNoTransparentColour
                          ? ImageList_Add(list, strip, nullptr)
                          : ImageList_AddMasked(list, strip, transparent & 0x00FFFFFF);
    if (added < 0) {
      ImageList_Destroy(list);
      list = nullptr;
    }
  }
  DeleteObject(strip);  // the image list keeps its own copy of the pixels
  return list;
}
