#include "tests/support/library_format_files.h"

#include <png.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include <jpeglib.h>

namespace {

// Test-side libjpeg errors: any error or warning ends the call.
struct StrictErrors {
  jpeg_error_mgr standard;
  jmp_buf jump;
};

void StrictExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<StrictErrors*>(cinfo->err)->jump, 1); }
void StrictMessage(j_common_ptr cinfo, int level) {
  if (level < 0) StrictExit(cinfo);
}
void Silent(j_common_ptr) {}

jpeg_error_mgr* InstallStrict(StrictErrors* errors) {
  jpeg_std_error(&errors->standard);
  errors->standard.error_exit = StrictExit;
  errors->standard.emit_message = StrictMessage;
  errors->standard.output_message = Silent;
  return &errors->standard;
}

bool EncodeInto(FILE* file, const Pixels* pixels, const JpegSettings* settings) {
  jpeg_compress_struct cinfo;
  StrictErrors errors;
  cinfo.err = InstallStrict(&errors);
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(pixels->width);
  cinfo.image_height = static_cast<JDIMENSION>(pixels->height);
  cinfo.input_components = pixels->components;
  cinfo.in_color_space = pixels->components == 1 ? JCS_GRAYSCALE : pixels->components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  cinfo.optimize_coding = settings->optimise ? TRUE : FALSE;
  cinfo.smoothing_factor = settings->smoothing;
  jpeg_set_quality(&cinfo, settings->quality, TRUE);
  if (settings->progressive) jpeg_simple_progression(&cinfo);
  cinfo.arith_code = settings->arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&cinfo, TRUE);
  const size_t stride = static_cast<size_t>(pixels->width) * pixels->components;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels->samples.data() + cinfo.next_scanline * stride);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

bool DecodeFrom(FILE* file, Pixels* out) {
  jpeg_decompress_struct cinfo;
  StrictErrors errors;
  cinfo.err = InstallStrict(&errors);
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  out->width = static_cast<int>(cinfo.output_width);
  out->height = static_cast<int>(cinfo.output_height);
  out->components = cinfo.output_components;
  out->samples.assign(static_cast<size_t>(out->width) * out->height * out->components, 0);
  const size_t stride = static_cast<size_t>(out->width) * out->components;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out->samples.data() + cinfo.output_scanline * stride;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

void QuietTiff(const char*, const char*, va_list) {}

}  // namespace

Pixels MakeGradient(int width, int height, int components) {
  Pixels pixels{width, height, components, {}};
  pixels.samples.resize(static_cast<size_t>(width) * height * components);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < components; ++c) {
        const int value = c == 0 ? x * 255 / (width > 1 ? width - 1 : 1)
                          : c == 1 ? y * 255 / (height > 1 ? height - 1 : 1)
                          : c == 2 ? (x + y) * 255 / (width + height > 2 ? width + height - 2 : 1)
                                   : 200 - (x * 100 / (width > 1 ? width : 1));
        pixels.samples[(static_cast<size_t>(y) * width + x) * components + c] = static_cast<uint8_t>(value);
      }
  return pixels;
}

Pixels PixelsOfBuffer(const PictureBuffer& buffer) {
  Pixels pixels{buffer.width(), buffer.height(), buffer.bits_per_pixel() / 8, {}};
  pixels.samples.assign(buffer.pixels(), buffer.pixels() + buffer.stride() * buffer.height());
  return pixels;
}

bool WritePngFile(const std::string& path, const PngPicture& picture) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);  // size bombs are written too
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
               picture.bit_depth, picture.colour_type,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty())
    png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(picture.palette.data()),
                 static_cast<int>(picture.palette.size() / 3));
  if (picture.file_gamma > 0) png_set_gAMA(png, info, picture.file_gamma);
  if (!picture.trns.empty()) {
    if (picture.colour_type == PNG_COLOR_TYPE_PALETTE) {
      png_set_tRNS(png, info, picture.trns.data(), static_cast<int>(picture.trns.size()), nullptr);
    } else {
      png_color_16 colour{};
      colour.gray = colour.red = static_cast<png_uint_16>(picture.trns[0] << 8 | picture.trns[1]);
      colour.green = colour.blue = colour.red;
      png_set_tRNS(png, info, nullptr, 0, &colour);
    }
  }
  png_write_info(png, info);
  if (picture.header_only) {
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
  }
  if (picture.interlaced) png_set_interlace_handling(png);
  const size_t stride = picture.rows.size() / static_cast<size_t>(picture.height);
  std::vector<png_bytep> rows(static_cast<size_t>(picture.height));
  for (int y = 0; y < picture.height; ++y)
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(picture.rows.data() + y * stride);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

bool ReadPngAsRgba(const std::string& path, Pixels* out) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGBA;
  out->width = static_cast<int>(image.width);
  out->height = static_cast<int>(image.height);
  out->components = 4;
  out->samples.assign(PNG_IMAGE_SIZE(image), 0);
  const bool ok = png_image_finish_read(&image, nullptr, out->samples.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

bool WriteTiffFile(const std::string& path, const Pixels& pixels, uint16_t orientation) {
  TIFFSetErrorHandler(QuietTiff);
  TIFFSetWarningHandler(QuietTiff);
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  if (!tiff) return false;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(pixels.width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(pixels.height));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, pixels.components);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, pixels.components == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 8);
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, orientation);
  if (pixels.components == 4) {
    const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
  }
  const size_t stride = static_cast<size_t>(pixels.width) * pixels.components;
  bool ok = true;
  for (int y = 0; y < pixels.height && ok; ++y)
    ok = TIFFWriteScanline(tiff, const_cast<uint8_t*>(pixels.samples.data() + y * stride),
                           static_cast<uint32_t>(y), 0) == 1;
  TIFFClose(tiff);
  return ok;
}

bool ReadNetpbm(const std::string& path, Pixels* out) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maximum = 0;
  in >> magic >> width >> height >> maximum;
  if (!in || (magic != "P5" && magic != "P6") || maximum != 255 || width < 1 || height < 1) return false;
  in.get();  // the one whitespace byte before the samples
  out->width = width;
  out->height = height;
  out->components = magic == "P5" ? 1 : 3;
  out->samples.resize(static_cast<size_t>(width) * height * out->components);
  in.read(reinterpret_cast<char*>(out->samples.data()), static_cast<std::streamsize>(out->samples.size()));
  return static_cast<bool>(in);
}

bool WriteJpegFile(const std::string& path, const Pixels& pixels, const JpegSettings& settings) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = EncodeInto(file, &pixels, &settings);
  return std::fclose(file) == 0 && ok;
}

bool DecodeJpegFile(const std::string& path, Pixels* out) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  const bool ok = DecodeFrom(file, out);
  std::fclose(file);
  return ok;
}

bool ReencodeJpeg(const std::string& scratch_path, const Pixels& pixels, const JpegSettings& settings,
                  Pixels* out) {
  const std::string path = scratch_path + ".reference.jpg";
  const bool ok = WriteJpegFile(path, pixels, settings) && DecodeJpegFile(path, out);
  std::remove(path.c_str());
  return ok;
}

bool JpegHasMarker(const std::string& bytes, uint8_t marker) {
  // Walks the marker segments from the start of image to the first scan.
  size_t at = 2;
  while (at + 4 <= bytes.size() && static_cast<uint8_t>(bytes[at]) == 0xFF) {
    const auto code = static_cast<uint8_t>(bytes[at + 1]);
    if (code == marker) return true;
    if (code == 0xDA) return false;
    at += 2 + (static_cast<size_t>(static_cast<uint8_t>(bytes[at + 2])) << 8 | static_cast<uint8_t>(bytes[at + 3]));
  }
  return false;
}

std::string CompareSamples(const Pixels& have, const Pixels& want, int tolerance) {
  std::ostringstream message;
  if (have.width != want.width || have.height != want.height || have.components != want.components) {
    message << "have " << have.width << "x" << have.height << "x" << have.components << ", want "
            << want.width << "x" << want.height << "x" << want.components;
    return message.str();
  }
  for (int y = 0; y < have.height; ++y)
    for (int x = 0; x < have.width; ++x)
      for (int c = 0; c < have.components; ++c) {
        const int a = have.at(x, y, c), b = want.at(x, y, c);
        if (std::abs(a - b) > tolerance) {
          message << "pixel (" << x << "," << y << ") component " << c << ": have " << a << ", want " << b
                  << " (tolerance " << tolerance << ")";
          return message.str();
        }
      }
  return std::string();
}

uint8_t WeightedGray(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint8_t>((306 * red + 601 * green + 117 * blue) >> 10);
}

Pixels ToWeightedGray(const Pixels& rgb) {
  Pixels gray{rgb.width, rgb.height, 1, {}};
  const int offset = rgb.components == 4 ? 1 : 0;
  for (int y = 0; y < rgb.height; ++y)
    for (int x = 0; x < rgb.width; ++x)
      gray.samples.push_back(WeightedGray(rgb.at(x, y, offset), rgb.at(x, y, offset + 1), rgb.at(x, y, offset + 2)));
  return gray;
}
