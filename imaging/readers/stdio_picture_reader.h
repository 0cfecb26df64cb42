// The frame the hand-written readers share: the file, the picture to fill
// and the progress callback. Open checks the header through the format's
// ReadHeader and forgets everything on refusal; Decode runs the format's
// DecodePicture and closes the file whatever happened.
#pragma once

#include <cstdint>

#include "imaging/readers/picture_reader.h"
#include "imaging/readers/stdio_file.h"

class StdioPictureReader : public PictureReader {
 public:
  void Reset() final;
  bool Open(const char* path, PictureBuffer* buffer, ProgressCallback progress) final;
  bool Decode() final;

 protected:
  // Opens file_ on `path` and checks that it is this reader's format.
  virtual bool ReadHeader(const char* path) = 0;
  // Allocates *buffer_ with the picture's size and depth and fills it.
  virtual bool DecodePicture() = 0;
  // Forgets what ReadHeader learnt.
  virtual void ResetHeader() {}

  // Tells the progress callback, if any, that `row` of `height` is done.
  void ReportRow(int32_t row, int32_t height) const;

  StdioFile file_;
  PictureBuffer* buffer_ = nullptr;

 private:
  ProgressCallback progress_ = nullptr;
};
