// libpng set up with our own read callback and error hooks; every libpng
// call that may fail runs inside a small setjmp function below. Plain files
// are read row by row; interlaced ones need every pass over the whole
// picture.
#include "imaging/readers/png_reader.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "imaging/picture_limits.h"
#include "imaging/readers/icc_profile.h"

struct PngDecoderState {
  png_structp png;
  png_infop info;
  FILE* file;
  // The picture as the transforms deliver it, known after Open.
  png_uint_32 width, height;
  int bits_per_pixel;
  int palette_count;
  png_color palette[256];
  int palette_alpha_count;  // tRNS entries of a palette picture
  png_byte palette_alpha[256];
  int passes;
  bool interlaced;
  bool gray;  // gray samples, whatever layout they are handed out in
};

namespace {

// The file is read through our callback; a short read is a libpng error.
void ReadFromFile(png_structp png, png_bytep data, png_size_t length) {
  auto* file = static_cast<FILE*>(png_get_io_ptr(png));
  if (std::fread(data, 1, length, file) != length) png_error(png, "reading png image error");
}

[[noreturn]] void JumpBack(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// The file gamma used for correction: sRGB files and files without gAMA
// count as 0.45455.
double FileGamma(png_structp png, png_infop info) {
  int intent;
  double gamma;
  if (png_get_sRGB(png, info, &intent)) return 0.45455;
  if (png_get_gAMA(png, info, &gamma) && gamma > 0) return gamma;
  return 0.45455;
}

// Reads the header and sets the transforms that bring every colour type to
// one of the engine's depths; fills in the size, depth and palette.
bool ReadPngHeader(PngDecoderState* state) {
  png_structp png = state->png;
  png_infop info = state->info;
  if (setjmp(png_jmpbuf(png))) return false;
  // Neither side may exceed the pixel limit; the product is checked below.
  const png_uint_32 side_limit = static_cast<png_uint_32>(
      kMaxPicturePixels < 0x7FFFFFFF ? kMaxPicturePixels : 0x7FFFFFFF);
  png_set_user_limits(png, side_limit, side_limit);
  png_read_info(png, info);

  png_uint_32 width, height;
  int depth, colour_type, interlace;
  png_get_IHDR(png, info, &width, &height, &depth, &colour_type, &interlace, nullptr, nullptr);
  if (width == 0 || height == 0 || !PictureFitsLimits(width, height, 4)) return false;

  // Transparency of gray and RGB pictures, an alpha channel or a tRNS
  // colour, comes out as alpha in front of RGB, gray repeated; a palette's
  // tRNS entries stay beside the palette. Every other picture keeps its depth.
  const bool palette = colour_type == PNG_COLOR_TYPE_PALETTE;
  const bool transparency = !palette && png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  const bool alpha = transparency || (colour_type & PNG_COLOR_MASK_ALPHA) != 0;
  if (depth == 16) png_set_strip_16(png);
  if (transparency) png_set_tRNS_to_alpha(png);  // expands palettes and low depths as well
  else if (depth < 8 && colour_type == PNG_COLOR_TYPE_GRAY) png_set_expand_gray_1_2_4_to_8(png);
  else if (depth < 8) png_set_packing(png);
  if (alpha && (colour_type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  if (alpha) png_set_swap_alpha(png);
  png_set_gamma(png, 2.2, FileGamma(png, info));
  state->passes = png_set_interlace_handling(png);
  state->interlaced = interlace != PNG_INTERLACE_NONE;
  png_read_update_info(png, info);

  switch (colour_type) {
    case PNG_COLOR_TYPE_PALETTE:
    case PNG_COLOR_TYPE_GRAY: state->bits_per_pixel = alpha ? 32 : 8; break;
    case PNG_COLOR_TYPE_RGB: state->bits_per_pixel = alpha ? 32 : 24; break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
    case PNG_COLOR_TYPE_RGB_ALPHA: state->bits_per_pixel = 32; break;
    default: return false;
  }
  state->gray = (colour_type & PNG_COLOR_MASK_COLOR) == 0;
  // The transforms must deliver exactly one buffer row per PNG row.
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * (state->bits_per_pixel / 8))
    return false;

  state->palette_count = state->palette_alpha_count = 0;
  if (palette) {
    png_colorp entries = nullptr;
    int count = 0;
    if (!png_get_PLTE(png, info, &entries, &count) || count < 1 || count > 256) return false;
    std::memcpy(state->palette, entries, sizeof(png_color) * static_cast<size_t>(count));
    state->palette_count = count;
    png_bytep alphas = nullptr;
    int alpha_count = 0;
    if (png_get_tRNS(png, info, &alphas, &alpha_count, nullptr) != 0 && alphas != nullptr && alpha_count > 0) {
      state->palette_alpha_count = alpha_count < count ? alpha_count : count;
      std::memcpy(state->palette_alpha, alphas, static_cast<size_t>(state->palette_alpha_count));
    }
  }
  state->width = width;
  state->height = height;
  return true;
}

// The metadata chunks read before the image data: eXIf, iCCP (libpng
// inflates the profile) and XMP in the iTXt chunk of its keyword.
void CollectPngMetadata(png_structp png, png_infop info, bool gray, PictureDescription* description) {
  png_uint_32 exif_size = 0;
  png_bytep exif = nullptr;
  if (png_get_eXIf_1(png, info, &exif_size, &exif) != 0 && exif != nullptr && exif_size > 0)
    description->metadata.push_back(
        MetadataBlock{MetadataKind::kExif, std::string(reinterpret_cast<const char*>(exif), exif_size)});
  png_textp texts = nullptr;
  int text_count = 0;
  png_get_text(png, info, &texts, &text_count);
  for (int i = 0; i < text_count; ++i) {
    const png_text& text = texts[i];
    if (text.compression < PNG_ITXT_COMPRESSION_NONE || std::strcmp(text.key, "XML:com.adobe.xmp") != 0 ||
        text.text == nullptr || text.itxt_length == 0)
      continue;
    description->metadata.push_back(MetadataBlock{MetadataKind::kXmp, std::string(text.text, text.itxt_length)});
    break;
  }
  png_charp name = nullptr;
  int compression = 0;
  png_bytep profile = nullptr;
  png_uint_32 profile_size = 0;
  if (png_get_iCCP(png, info, &name, &compression, &profile, &profile_size) != 0 && profile != nullptr)
    HandOnProfile(std::string(reinterpret_cast<const char*>(profile), profile_size), gray, description);
}

// Reads every pass, each row into its top-down place, then the file's end.
// The caller's cancel request is looked at between rows.
bool ReadPngPasses(PngDecoderState* state, uint8_t* pixels, size_t stride, const CancelRequest* cancel) {
  png_structp png = state->png;
  if (setjmp(png_jmpbuf(png))) return false;
  for (int pass = 0; pass < state->passes; ++pass) {
    for (png_uint_32 y = 0; y < state->height; ++y) {
      if (cancel->requested()) return false;
      png_read_row(png, pixels + y * stride, nullptr);
    }
  }
  png_read_end(png, nullptr);
  return true;
}

// Reads the next `count` rows of a file that is not interlaced; after the
// last row, the file's end.
bool ReadPngRows(PngDecoderState* state, uint8_t* rows, size_t stride, int32_t count, bool last) {
  png_structp png = state->png;
  if (setjmp(png_jmpbuf(png))) return false;
  for (int32_t y = 0; y < count; ++y) png_read_row(png, rows + y * stride, nullptr);
  if (last) png_read_end(png, nullptr);
  return true;
}

}  // namespace

PngReader::PngReader() : state_(new PngDecoderState) { std::memset(state_.get(), 0, sizeof(PngDecoderState)); }

PngReader::~PngReader() { Reset(); }

void PngReader::ReleaseDecoder() {
  PngDecoderState* state = state_.get();
  if (state->png) png_destroy_read_struct(&state->png, state->info ? &state->info : nullptr, nullptr);
  if (state->file) std::fclose(state->file);
  std::memset(state, 0, sizeof(PngDecoderState));
}

bool PngReader::ReadHeader(const char* path, PictureDescription* description) {
  PngDecoderState* state = state_.get();
  state->file = std::fopen(path, "rb");
  if (state->file == nullptr) return false;
  state->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, IgnoreWarning);
  if (state->png) state->info = png_create_info_struct(state->png);
  if (state->info == nullptr) return false;
  png_set_read_fn(state->png, state->file, ReadFromFile);
  if (!ReadPngHeader(state)) return false;

  description->width = static_cast<int32_t>(state->width);
  description->height = static_cast<int32_t>(state->height);
  switch (state->bits_per_pixel) {
    case 32: description->layout = PixelLayout::kArgb32; break;
    case 24: description->layout = PixelLayout::kRgb24; break;
    default: description->layout = state->palette_count > 0 ? PixelLayout::kPalette8 : PixelLayout::kGray8;
  }
  description->palette_count = state->palette_count;
  for (int i = 0; i < state->palette_count; ++i)
    description->palette[i] = PaletteEntry{state->palette[i].red, state->palette[i].green, state->palette[i].blue, 0};
  description->palette_alpha_count = state->palette_alpha_count;
  std::memcpy(description->palette_alpha, state->palette_alpha, sizeof state->palette_alpha);
  description->supply = state->interlaced ? RowSupply::kWholePicture : RowSupply::kStrips;
  CollectPngMetadata(state->png, state->info, state->gray, description);
  // libpng keeps the previous and the current row, and zlib its window.
  description->working_bytes = 2 * (uint64_t{state->width} * 8 + 1) + 64 * 1024;
  return true;
}

bool PngReader::ReadStrip(uint8_t* rows, size_t stride, int32_t count) {
  PngDecoderState* state = state_.get();
  if (state->png == nullptr || state->interlaced) return false;
  const bool last = static_cast<png_uint_32>(rows_read() + count) == state->height;
  return ReadPngRows(state, rows, stride, count, last);
}

bool PngReader::DecodeWhole(uint8_t* pixels, size_t stride) {
  PngDecoderState* state = state_.get();
  return state->png != nullptr && ReadPngPasses(state, pixels, stride, &cancel());
}
