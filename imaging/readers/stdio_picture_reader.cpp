#include "imaging/readers/stdio_picture_reader.h"

void StdioPictureReader::ReleaseDecoder() {
  file_.Close();
  ResetFormat();
}
