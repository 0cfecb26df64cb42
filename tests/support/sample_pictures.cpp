#include "tests/support/sample_pictures.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"

namespace {

// Packs one value below 2^depth per pixel into PNG rows of `depth` bits.
std::vector<uint8_t> PackedRows(int width, int height, int depth, int values) {
  const size_t row_bytes = (static_cast<size_t>(width) * depth + 7) / 8;
  std::vector<uint8_t> rows(row_bytes * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int value = (x * 3 + y * 5) % values;
      const size_t bit = static_cast<size_t>(x) * depth;
      rows[y * row_bytes + bit / 8] |= static_cast<uint8_t>(value << (8 - depth - bit % 8));
    }
  return rows;
}

}  // namespace

std::vector<std::string> WriteSamplePictures(const ScratchFolder& folder, const std::string& prefix, int width,
                                             int height) {
  std::vector<std::string> paths;
  auto add = [&](const std::string& name, bool written) {
    EXPECT_TRUE(written) << "cannot write " << name;
    if (written) paths.push_back(folder.File(prefix + name));
  };
  auto path = [&](const std::string& name) { return folder.File(prefix + name); };
  const Pixels gray = MakeGradient(width, height, 1), rgb = MakeGradient(width, height, 3);
  const Pixels rgba = MakeGradient(width, height, 4);

  for (int form = 0; form < 3; ++form) {
    const char* names[] = {"bottom-up.bmp", "top-down.bmp", "os2.bmp"};
    add(names[form], WriteFileBytes(path(names[form]), MakeBmp(width, height, rgb.samples, {form == 1, form == 2})));
  }
  std::vector<uint8_t> colours(768);
  for (size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<uint8_t>(i * 7 + i / 3);
  BmpParts eight{40, width, height, 8, 0, 0, {}, colours, PackBmpRows(width, height, gray.samples, 8, {}, false)};
  add("paletted.bmp", WriteFileBytes(path("paletted.bmp"), MakeBmpFile(eight)));
  const std::vector<uint32_t> masks = {0xF800, 0x07E0, 0x001F};
  BmpParts fields{40, width, -height, 16, 3, 0, masks, {}, PackBmpRows(width, height, rgb.samples, 16, masks, true)};
  add("bit-fields.bmp", WriteFileBytes(path("bit-fields.bmp"), MakeBmpFile(fields)));
  GifPicture gif{width, height, colours, 0, 0, 0, width, height, {}, false, gray.samples};
  add("picture.gif", WriteFileBytes(path("picture.gif"), MakeGif(gif)));
  gif.interlaced = true;
  add("interlaced.gif", WriteFileBytes(path("interlaced.gif"), MakeGif(gif)));
  if (width >= 2 && height >= 2) {
    add("paletted.pcx", WriteFileBytes(path("paletted.pcx"), MakePcx8(width, height, gray.samples, colours)));
    add("planes.pcx", WriteFileBytes(path("planes.pcx"), MakePcx24(width, height, rgb.samples, width + 1)));
  }

  PngPicture palette{width, height, PNG_COLOR_TYPE_PALETTE, 4, false, PackedRows(width, height, 4, 5)};
  palette.palette = {0, 0, 0, 250, 10, 20, 30, 240, 40, 90, 80, 70, 5, 6, 7};
  add("palette.png", WritePngFile(path("palette.png"), palette));
  palette.interlaced = true;
  add("interlaced-palette.png", WritePngFile(path("interlaced-palette.png"), palette));
  add("gray2.png", WritePngFile(path("gray2.png"),
                                PngPicture{width, height, PNG_COLOR_TYPE_GRAY, 2, false, PackedRows(width, height, 2, 4)}));
  add("gray.png", WritePngFile(path("gray.png"), PngPicture{width, height, PNG_COLOR_TYPE_GRAY, 8, false, gray.samples}));
  add("rgb.png", WritePngFile(path("rgb.png"), PngPicture{width, height, PNG_COLOR_TYPE_RGB, 8, false, rgb.samples}));
  add("interlaced.png",
      WritePngFile(path("interlaced.png"), PngPicture{width, height, PNG_COLOR_TYPE_RGB, 8, true, rgb.samples}));
  add("rgba.png",
      WritePngFile(path("rgba.png"), PngPicture{width, height, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, rgba.samples}));
  palette.interlaced = false;
  palette.trns = {0, 128};
  add("keyed-palette.png", WritePngFile(path("keyed-palette.png"), palette));
  add("gray-alpha.png", WritePngFile(path("gray-alpha.png"), PngPicture{width, height, PNG_COLOR_TYPE_GRAY_ALPHA, 8,
                                                                        false, MakeGradient(width, height, 2).samples}));
  PngPicture deep{width, height, PNG_COLOR_TYPE_RGB, 16, false, {}};
  for (uint8_t sample : rgb.samples) deep.rows.insert(deep.rows.end(), {sample, static_cast<uint8_t>(~sample)});
  deep.file_gamma = 1.0;
  add("deep.png", WritePngFile(path("deep.png"), deep));

  JpegSettings progressive;
  progressive.progressive = true;
  add("gray.jpg", WriteJpegFile(path("gray.jpg"), gray, JpegSettings{}));
  add("rgb.jpg", WriteJpegFile(path("rgb.jpg"), rgb, JpegSettings{}));
  add("progressive.jpg", WriteJpegFile(path("progressive.jpg"), rgb, progressive));
  JpegSettings ycck;
  ycck.ycck = true;
  add("cmyk.jpg", WriteJpegFile(path("cmyk.jpg"), rgba, JpegSettings{}));
  add("ycck.jpg", WriteJpegFile(path("ycck.jpg"), rgba, ycck));

  add("gray.tif", WriteTiffFile(path("gray.tif"), gray));
  add("rgb.tif", WriteTiffFile(path("rgb.tif"), rgb));
  add("rgba.tif", WriteTiffFile(path("rgba.tif"), rgba));
  add("gray-alpha.tif", WriteTiffFile(path("gray-alpha.tif"), MakeGradient(width, height, 2)));
  add("bottom-first.tif", WriteTiffFile(path("bottom-first.tif"), rgb, ORIENTATION_BOTLEFT));

  std::vector<uint8_t> luma(768 * 512), c1(384 * 256), c2(384 * 256);
  for (size_t i = 0; i < luma.size(); ++i) luma[i] = static_cast<uint8_t>(i % 768 / 3 + i / 768 / 4);
  for (size_t i = 0; i < c1.size(); ++i) c1[i] = static_cast<uint8_t>(100 + i % 97), c2[i] = static_cast<uint8_t>(180 - i % 89);
  add("photo.pcd", WriteFileBytes(path("photo.pcd"), MakePcd(2, luma, c1, c2)));
  return paths;
}
