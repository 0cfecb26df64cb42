// Picture makers on top of the test support's format writers.
#include "tests/app/driver/picture_files.h"

#include <windows.h>

#include <png.h>

#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"

std::string AbsolutePath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

bool WriteSmallBmp(const std::string& path, int width, int height) {
  return WriteFileBytes(path, MakeBmp(width, height, MakeGradient(width, height, 3).samples));
}

bool WriteSmallPng(const std::string& path, int width, int height) {
  PngPicture picture;
  picture.width = width;
  picture.height = height;
  picture.colour_type = PNG_COLOR_TYPE_RGB;
  picture.rows = MakeGradient(width, height, 3).samples;
  return WritePngFile(path, picture);
}

bool WriteSmallJpeg(const std::string& path, int width, int height) {
  return WriteJpegFile(path, MakeGradient(width, height, 3), JpegSettings{90, false, 0, false});
}

std::string JpegProblem(const std::string& path, int width, int height) {
  const std::string bytes = ReadFileBytes(path);
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xD8) {
    return path + ": no JPEG start-of-image marker (" + std::to_string(bytes.size()) + " bytes)";
  }
  Pixels pixels;
  if (!DecodeJpegFile(path, &pixels)) return path + ": does not decode as JPEG";
  if (pixels.width != width || pixels.height != height) {
    return path + ": decodes to " + std::to_string(pixels.width) + "x" + std::to_string(pixels.height) +
           ", want " + std::to_string(width) + "x" + std::to_string(height);
  }
  return {};
}
