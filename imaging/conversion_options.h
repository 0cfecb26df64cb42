// What a conversion does beside decoding and encoding the pixels, as the
// caller chooses: laying transparent pixels on a colour instead of
// dropping their alpha, writing the picture's metadata blocks, and giving
// the JPEG the source's last-write time.
#pragma once

#include "imaging/pixel_conversion.h"

struct ConversionOptions {
  bool flatten = false;                    // lay transparent pixels on `background`
  RgbColour background = {255, 255, 255};
  bool keep_metadata = true;               // EXIF, XMP and the ICC profile
  bool keep_dates = false;                 // the source's last-write time
};
