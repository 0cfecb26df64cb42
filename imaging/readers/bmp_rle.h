// Decodes the run-length codings of BMP files, 8 bits (RLE8) and 4 bits
// (RLE4) a pixel, into palette indices. The rows are stored bottom row
// first, so a picture is only known when its stream has been read: it is
// decoded whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/cancel_request.h"
#include "imaging/readers/file_byte_source.h"

// Decodes the stream in `data` into `pixels` (rows top row first, `stride`
// bytes apart, each `width` indices). Pixels the stream never reaches,
// skipped by a move or left by an early end, are index 0. Runs and moves
// are cut at the row's end and the picture's top; what the stream holds
// beyond the picture is ignored. False when the data ends before the
// picture's last row is finished or the end code, or on `cancel`.
bool DecodeBmpRle(FileByteSource& data, bool four_bits, int32_t width, int32_t height, uint8_t* pixels,
                  size_t stride, const CancelRequest& cancel);
