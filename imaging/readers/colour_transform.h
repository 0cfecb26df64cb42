// A Little CMS transform with a context of its own, so that conversions on
// several threads never share lcms2 state, and whose error handler keeps
// lcms2's messages to itself: callers only need to know whether a transform
// was made. The converters of ink and of coded primaries hold one each.
#pragma once

#include <lcms2.h>

#include <memory>

struct ColourTransform {
  cmsContext context = nullptr;
  cmsHTRANSFORM transform = nullptr;

  ~ColourTransform();
};

// A holder with its quiet context made and no transform yet; null when lcms2
// cannot make a context.
std::unique_ptr<ColourTransform> NewColourTransform();
