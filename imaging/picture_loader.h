// PictureLoader: finds the reader for a picture file of any supported
// format, recognised by content alone, by trying the readers in a fixed
// order; and decodes a whole picture into a PictureBuffer through it.
#pragma once

#include <memory>

#include "imaging/cancel_request.h"
#include "imaging/convert_result.h"
#include "imaging/picture_buffer.h"
#include "imaging/readers/picture_reader.h"

// What OpenReader and Load answer. The numbers are the ConvertResult codes
// of the same outcomes, so that the command hands them on unchanged.
enum LoaderResult : int {
  kLoaderAccepted = kConvertSucceeded,
  kLoaderNoFile = kConvertSourceMissing,
  kLoaderNoReader = kConvertUnreadable,
};

class PictureLoader {
 public:
  // kLoaderAccepted: `reader` holds the open reader of the first format that
  // accepted the file; kLoaderNoFile: no directory entry matches the path;
  // kLoaderNoReader: no reader accepted it.
  static int OpenReader(const char* path, std::unique_ptr<PictureReader>* reader,
                        const CancelRequest& cancel = CancelRequest());

  // kLoaderAccepted: decoded into `buffer`; kLoaderNoFile: no directory entry
  // matches the path; kLoaderNoReader: no reader accepted the file, or the
  // accepting reader's decode failed.
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
