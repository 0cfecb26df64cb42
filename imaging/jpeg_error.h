// The libjpeg error manager shared by the JPEG reader and writer. Fatal
// errors jump back to the setjmp of the codec call that is running, and the
// premature-end warning is treated as fatal, so that a cut-off file fails
// instead of decoding into grey rows. Other warnings are counted, not shown.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

struct JpegErrorManager {
  jpeg_error_mgr standard;  // first member: libjpeg sees only this part
  jmp_buf jump;             // set by the running codec call
  int warnings;
};

// Fills in libjpeg's standard routines with our exit and message hooks and
// returns the pointer for cinfo->err.
jpeg_error_mgr* InstallJpegErrors(JpegErrorManager* manager);

// Fails a progressive decode past this many scans: a small file made of
// thousands of tiny scans would otherwise keep the decoder busy for minutes.
inline constexpr int kMaxJpegScans = 100;

// The most working memory libjpeg may take for one picture (whole-image
// coefficient buffers of progressive files). The rows themselves are the
// caller's and are not counted.
inline constexpr long kMaxJpegMemory =
    sizeof(void*) == 4 ? 512L * 1024 * 1024 : 0x7FFFFFFFL;
