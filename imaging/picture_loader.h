// PictureLoader: decodes a picture file of any supported format, recognised
// by content alone, by trying the readers in a fixed order.
#pragma once

#include <functional>

#include "imaging/picture_buffer.h"
#include "imaging/readers/picture_reader.h"

class PictureLoader {
 public:
  // Called once a reader has accepted the file and before it decodes, with
  // what the decode will allocate; it may block (to wait for memory).
  using Admission = std::function<void(const PicturePlan&)>;

  // 1: decoded into `buffer`; -1: no directory entry matches the path;
  // -3: no reader accepted the file, or the accepting reader's decode failed.
  int Load(const char* path, PictureBuffer* buffer, const Admission& admit = nullptr);

  // True when one of the readers accepts the file's signature and header:
  // what Load would try to decode. Nothing is decoded or allocated.
  static bool Recognises(const char* path);
};
