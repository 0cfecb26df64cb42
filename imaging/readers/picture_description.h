// What a reader tells about the picture it is going to hand out, once its
// header is read: the size, the pixel layout of its rows (and the palette
// for palette indices), whether the rows can flow strip by strip or the
// whole picture must be decoded first, what the reader holds in memory
// while it decodes, the transparency of palette entries and the file's
// metadata blocks. By default the engine drops transparency and writes the
// stored colours; a conversion asked to flatten lays the pixels on a
// background colour instead (imaging/pixel_conversion.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/pixel_layout.h"

// Rows flow top to bottom in strips of any height, or the format forces the
// whole picture to be decoded before its first row is known (interlaced
// files, layouts stored bottom-up that cannot be read from their end).
enum class RowSupply : uint8_t { kStrips, kWholePicture };

// Metadata travels as opaque blocks from the reader to the writer; nothing
// in between parses them. The bytes are the block's payload as the JPEG
// marker segment would carry it after its identifier: for kExif the
// TIFF-structured block from its byte-order mark ("II*\0" or "MM\0*"), for
// kXmp the XML packet, for kIcc the whole profile (the writer splits it).
enum class MetadataKind : uint8_t { kExif, kXmp, kIcc };
struct MetadataBlock {
  MetadataKind kind;
  std::string bytes;
};

struct PictureDescription {
  int32_t width = 0;
  int32_t height = 0;
  PixelLayout layout = PixelLayout::kRgb24;
  // For kPalette8: the entries in use; the rest of the 256 stay zero.
  int32_t palette_count = 0;
  PaletteEntry palette[256] = {};
  // For kArgb32: the colours are already multiplied by their alpha (laid on
  // black), as TIFF's RGBA decoding delivers them; else they are as stored.
  bool alpha_premultiplied = false;
  // For kPalette8: the alpha of the first palette_alpha_count entries (as a
  // PNG tRNS chunk gives them); the entries after them are opaque.
  int32_t palette_alpha_count = 0;
  uint8_t palette_alpha[256] = {};
  RowSupply supply = RowSupply::kStrips;
  // Bytes the reader holds while it decodes, beside the rows it hands out:
  // the codec's state and buffers. A kWholePicture reader's picture itself
  // is not included; see WholePictureBytes.
  uint64_t working_bytes = 0;
  std::vector<MetadataBlock> metadata;

  size_t stride() const { return RowBytes(layout, width); }
  uint64_t WholePictureBytes() const { return static_cast<uint64_t>(stride()) * static_cast<uint64_t>(height); }
};
