// Makers of BMP, PCX and Photo CD files for tests, written from the formats'
// layouts independently of the readers. Pixels are given top row first.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "imaging/readers/picture_reader.h"

// Little-endian patching of header fields in a made file.
void PutLittle16(std::string& bytes, size_t offset, uint16_t value);
void PutLittle32(std::string& bytes, size_t offset, uint32_t value);

struct BmpOptions {
  bool top_down = false;  // negative height, rows stored top row first
  bool os2 = false;       // 12-byte info header with 16-bit sizes
  uint16_t bits = 24;     // written into the header; pixel rows stay 24-bit
};
// `rgb` holds width * height red, green, blue triples.
std::string MakeBmp(int32_t width, int32_t height, const std::vector<uint8_t>& rgb,
                    const BmpOptions& options = {});

// `count` different colours as red, green, blue triples.
std::vector<uint8_t> MakeColours(int count, int seed);

// A BMP file of any header form and depth from its parts; the pixel data is
// made by the caller (by PackBmpRows, or by hand for run-length data).
struct BmpParts {
  uint32_t info_size = 40;        // 12 (OS/2), 40, 108 or 124
  int32_t width = 0, height = 0;  // a negative height: rows stored top row first
  uint16_t bits = 8;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
  std::vector<uint32_t> masks;    // in the header from 108 bytes on, else right after it
  std::vector<uint8_t> palette;   // red, green, blue triples
  std::string pixels;             // the stored pixel data
  std::string profile;            // 124-byte header: embedded after the pixels
};
std::string MakeBmpFile(const BmpParts& parts);
// Stored rows, padded to four bytes, bottom row first unless `top_down`.
// 1, 4, 8 bits: `values` are indices. 16 and 32 bits: `values` are red,
// green, blue (and alpha with four masks) samples, rounded into the masks.
std::string PackBmpRows(int32_t width, int32_t height, const std::vector<uint8_t>& values, uint16_t bits,
                        const std::vector<uint32_t>& masks, bool top_down);

// A GIF89a file of one frame on its logical screen, written with its own
// LZW encoder; a graphic control and a comment extension precede the frame.
struct GifPicture {
  int32_t screen_width = 0, screen_height = 0;
  std::vector<uint8_t> global;  // red, green, blue triples; empty: no global table
  uint8_t background = 0;
  int32_t left = 0, top = 0, width = 0, height = 0;  // the frame
  std::vector<uint8_t> local;   // the frame's own table, when not empty
  bool interlaced = false;
  std::vector<uint8_t> indices;  // width * height, top row first
  int code_size = 8;             // the minimum LZW code size
  bool clear_when_full = true;   // else a full code table is kept
};
std::string MakeGif(const GifPicture& picture);
// Only the frame (descriptor, table, data), to make files of several frames.
std::string MakeGifFrame(const GifPicture& picture);

// Run-length encodes one PCX line, runs never crossing its end.
std::string EncodePcxLine(const uint8_t* line, size_t size);
// 8 bits with a palette of 256 red, green, blue triples; `indices` holds
// width * height bytes. Lines are padded to `bytes_per_line` (0 = width).
std::string MakePcx8(int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                     const std::vector<uint8_t>& palette, int32_t bytes_per_line = 0);
// 24 bits as three planes.
std::string MakePcx24(int32_t width, int32_t height, const std::vector<uint8_t>& rgb,
                      int32_t bytes_per_line = 0);
// Only the header, for hand-written compressed data.
std::string MakePcxHeader(int32_t width, int32_t height, int bits, int planes,
                          int32_t bytes_per_line);

// An image pac of at least 1 MiB with "PCD_IPI" at offset 2048 and one
// resolution filled in: `luma` holds width * height bytes, `c1` and `c2`
// (width / 2) * (height / 2) bytes each.
std::string MakePcd(int resolution, const std::vector<uint8_t>& luma,
                    const std::vector<uint8_t>& c1, const std::vector<uint8_t>& c2);

// What a reader made of a file: not opened, opened but not decoded, decoded
// (as a whole picture into `buffer`).
enum class ReadOutcome { kRefused, kDecodeFailed, kDecoded };
std::ostream& operator<<(std::ostream& out, ReadOutcome outcome);
ReadOutcome ReadThrough(PictureReader& reader, const std::string& path, PictureBuffer* buffer);
