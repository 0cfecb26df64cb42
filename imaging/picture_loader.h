// PictureLoader: decodes a picture file of any supported format, recognised
// by content alone, by trying the readers in a fixed order.
#pragma once

#include "imaging/picture_buffer.h"

class PictureLoader {
 public:
  // 1: decoded into `buffer`; -1: no directory entry matches the path;
  // -3: no reader accepted the file, or the accepting reader's decode failed.
  int Load(const char* path, PictureBuffer* buffer);
};
