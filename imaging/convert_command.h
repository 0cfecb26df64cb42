// ConvertPictureToJpeg: the engine's one command. It decodes a picture file
// of any supported format and writes it as a baseline JPEG file, answering
// with a ConvertResult code in an integer record.
#pragma once

#include <cstdint>

#include "imaging/convert_result.h"
#include "runtime/value.h"

// Arguments: source text, destination text, grayscale logical (exactly 1
// asks for grayscale), quality integer 1..100, optimise logical, smoothing
// integer 0..100. Numbers may come in any numeric record. A missing
// argument, a wrong tag, an empty path or a number out of range gives
// kConvertBadArguments before any file is touched.
//
// An optional seventh argument is a cancel request: an integer variable
// passed by reference (its address in the record, tag integer; see
// imaging/cancel_request.h). Once it turns non-zero the conversion stops at
// its next check and answers kConvertCancelled, leaving the destination as
// it was and no temporary file behind.
//
// Further optional arguments, each may be left out:
//   8  keep dates, logical: true gives the JPEG the source's last-write time
//   9  strip, logical: true writes none of the picture's EXIF, XMP and ICC
//      profile, which are written by default
//   10 background, an integer 0xRRGGBB: transparent pixels are laid on this
//      colour instead of their alpha being dropped
// A wrong tag or a background outside 0..0xFFFFFF gives kConvertBadArguments.
void ConvertPictureToJpeg(Value* result, int32_t count, const Value* args);
