// The EXIF of container formats (HEIF items, WebP chunks) made into the
// engine's EXIF block, the TIFF structure from its byte-order mark on, and
// the one change a reader may make to it: a reader that hands out rows
// already turned upright marks the block upright, so that viewers of the
// JPEG do not turn the picture a second time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The block in `size` bytes at `data`, which may start with the "Exif\0\0"
// identifier of a JPEG segment; empty when no byte-order mark ("II*\0" or
// "MM\0*") starts it.
std::string ExifBlockFromPayload(const uint8_t* data, size_t size);

// Sets the Orientation tag of the first directory to 1 (top row first,
// left column first) where the tag is there. False, with the block left as
// it was, when the first directory lies outside the block.
bool MarkExifUpright(std::string* block);
