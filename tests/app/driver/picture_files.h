// Small picture files for the end-to-end cases, written with the Windows
// file API so that names in GBK (Chinese) reach the disk as the program will
// look them up, and a check of what the program wrote.
#pragma once

#include <string>

// The full path of a (possibly relative) path.
std::string AbsolutePath(const std::string& path);

// Pictures of a smooth gradient, `width` x `height`.
bool WriteSmallBmp(const std::string& path, int width, int height);
bool WriteSmallPng(const std::string& path, int width, int height);
bool WriteSmallJpeg(const std::string& path, int width, int height);

// Empty when `path` holds a JPEG file (SOI marker first) that decodes to
// `width` x `height` pixels, else what is wrong with it.
std::string JpegProblem(const std::string& path, int width, int height);
