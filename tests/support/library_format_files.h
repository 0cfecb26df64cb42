// Test pictures made and checked with the codec libraries themselves: PNG,
// TIFF and JPEG files written from known pixels, and an independent libjpeg
// decode of what the engine wrote, for pixel-by-pixel comparisons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/picture_buffer.h"

// Interleaved 8-bit samples, rows top first without padding.
struct Pixels {
  int width = 0;
  int height = 0;
  int components = 0;
  std::vector<uint8_t> samples;

  uint8_t at(int x, int y, int c) const {
    return samples[(static_cast<size_t>(y) * width + x) * components + c];
  }
};

// A smooth pattern that survives JPEG well, different in every channel.
Pixels MakeGradient(int width, int height, int components);

// Copies a PictureBuffer of 8 (gray, no palette), 24 or 32 bits into Pixels
// as stored (32 bits: four components, alpha first).
Pixels PixelsOfBuffer(const PictureBuffer& buffer);

// --- PNG ---------------------------------------------------------------------
struct PngPicture {
  int width = 0, height = 0;
  int colour_type = 0;  // PNG_COLOR_TYPE_*
  int bit_depth = 8;
  bool interlaced = false;
  std::vector<uint8_t> rows;       // packed PNG rows (16-bit samples big-endian)
  std::vector<uint8_t> palette;    // red, green, blue triples for palette pictures
  std::vector<uint8_t> trns;       // raw tRNS chunk payload, when non-empty
  double file_gamma = 0;           // written as gAMA when > 0
  bool header_only = false;        // stop after the header (for size bombs)
};
bool WritePngFile(const std::string& path, const PngPicture& picture);

// Reads a PNG with libpng's simplified interface as 8-bit RGBA (sRGB).
bool ReadPngAsRgba(const std::string& path, Pixels* out);

// --- TIFF --------------------------------------------------------------------
// Writes an 8-bit contiguous TIFF of 8-row strips: 1 sample = black-is-zero
// gray, 3 = RGB, 4 = RGB plus unassociated alpha. The rows are stored as
// given, under the ORIENTATION tag's `orientation`.
bool WriteTiffFile(const std::string& path, const Pixels& pixels, uint16_t orientation = 1);

// Reads a binary PGM (P5) or PPM (P6) file of 8-bit samples.
bool ReadNetpbm(const std::string& path, Pixels* out);

// --- JPEG --------------------------------------------------------------------
struct JpegSettings {
  int quality = 100;
  bool optimise = true;
  int smoothing = 0;
  bool progressive = false;
  bool arithmetic = false;  // arithmetic instead of Huffman entropy coding
};
// 1 component = gray, 3 = RGB, 4 = CMYK (Adobe marker written by libjpeg).
bool WriteJpegFile(const std::string& path, const Pixels& pixels, const JpegSettings& settings);

// Decodes a JPEG file independently of the engine; false on any libjpeg
// error or warning.
bool DecodeJpegFile(const std::string& path, Pixels* out);

// Encodes `pixels` at `settings` in a file beside `scratch_path` and decodes
// it again: what a correct writer's output must decode to.
bool ReencodeJpeg(const std::string& scratch_path, const Pixels& pixels,
                  const JpegSettings& settings, Pixels* out);

// Which start-of-frame markers a JPEG file holds.
bool JpegHasMarker(const std::string& bytes, uint8_t marker);

// --- comparisons -------------------------------------------------------------
// Empty when sizes match and every sample is within `tolerance`; otherwise a
// "have X, want Y" description of the first difference.
std::string CompareSamples(const Pixels& have, const Pixels& want, int tolerance);

// Weighted gray as the engine computes it: (306 R + 601 G + 117 B) >> 10.
uint8_t WeightedGray(uint8_t red, uint8_t green, uint8_t blue);
Pixels ToWeightedGray(const Pixels& rgb);
