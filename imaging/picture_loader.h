// PictureLoader: finds the reader for a picture file of any supported
// format, recognised by content alone, by trying the readers in a fixed
// order; and decodes a whole picture into a PictureBuffer through it.
#pragma once

#include <memory>

#include "imaging/cancel_request.h"
#include "imaging/picture_buffer.h"
#include "imaging/readers/picture_reader.h"

class PictureLoader {
 public:
  // 1: `reader` holds the open reader of the first format that accepted the
  // file; -1: no directory entry matches the path; -3: no reader accepted it.
  static int OpenReader(const char* path, std::unique_ptr<PictureReader>* reader,
                        const CancelRequest& cancel = CancelRequest());

  // 1: decoded into `buffer`; -1: no directory entry matches the path;
  // -3: no reader accepted the file, or the accepting reader's decode failed.
  // The whole-picture path: the picture is decoded before anything is
  // written (ConvertPicture lets rows flow instead).
  int Load(const char* path, PictureBuffer* buffer);

  // True when one of the readers accepts the file's signature and header:
  // what Load would try to decode. Nothing is decoded or allocated.
  static bool Recognises(const char* path);
};

// Allocates `buffer` for the picture an open reader describes (palette
// included) and reads every row into it. False on allocation or read failure.
bool ReadWholePictureInto(PictureReader& reader, PictureBuffer* buffer);
