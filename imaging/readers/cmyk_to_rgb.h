// CmykToRgb: ink values (a JPEG's CMYK, or its YCCK decoded to CMYK) become
// red, green and blue. With the file's own CMYK profile Little CMS converts
// them to sRGB; without one, or with a profile it cannot use, the plain
// formula R = (1 - C)(1 - K) and its twins for green and blue.
//
// Ink is stored either as amount (0 = none) or, in files with Adobe's marker,
// inverted (255 = none); the converter is told which.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct ColourTransform;

class CmykToRgb {
 public:
  explicit CmykToRgb(bool inverted);
  ~CmykToRgb();
  CmykToRgb(const CmykToRgb&) = delete;
  CmykToRgb& operator=(const CmykToRgb&) = delete;

  // Converts through `profile` from now on (relative colorimetric with black
  // point compensation, into sRGB). False, keeping the formula, when the
  // bytes are not a CMYK profile Little CMS can transform from.
  bool UseProfile(const std::string& profile);
  bool uses_profile() const { return transform_ != nullptr; }

  // What the converter holds beside the rows: the profile's transform tables.
  uint64_t WorkingBytes() const;

  // `count` pixels of four bytes into `count` pixels of three.
  void Convert(const uint8_t* cmyk, uint8_t* rgb, size_t count) const;

 private:
  bool inverted_;
  std::unique_ptr<ColourTransform> transform_;
};
