// libjpeg's fatal-error exit replaced by a non-local return to the codec call.
#include "imaging/jpeg_error.h"

#include <jerror.h>

namespace {

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  std::longjmp(manager->jump, 1);
}

// Warnings come here with level -1, trace messages with higher levels.
void Note(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  // The stdio source reports the end of the file as a warning and feeds
  // the decoder a fake end marker; for us the picture is incomplete.
  if (manager->standard.msg_code == JWRN_JPEG_EOF) JumpBack(cinfo);
  ++manager->warnings;
}

void Quiet(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InstallJpegErrors(JpegErrorManager* manager) {
  jpeg_std_error(&manager->standard);
  manager->standard.error_exit = JumpBack;
  manager->standard.emit_message = Note;
  manager->standard.output_message = Quiet;
  manager->warnings = 0;
  return &manager->standard;
}
