// The frame the hand-written readers share: the file they read through C
// stdio. ReleaseDecoder closes it and lets the format forget its header.
#pragma once

#include <cstdint>

#include "imaging/readers/picture_reader.h"
#include "imaging/readers/stdio_file.h"

class StdioPictureReader : public PictureReader {
 protected:
  void ReleaseDecoder() final;
  // Forgets what ReadHeader learnt and any decoding state.
  virtual void ResetFormat() {}

  StdioFile file_;
};
