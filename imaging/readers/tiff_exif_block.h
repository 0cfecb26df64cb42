// The EXIF of a TIFF file made into a block a JPEG can carry: a small TIFF
// structure of its own whose first directory holds the picture's
// descriptive tags (description, make, model, software, date, artist,
// copyright) and points to copies of the file's EXIF directory (with its
// interoperability directory) and GPS directory.
//
// The values are copied byte for byte, in the file's byte order, and only
// the offsets between them are made anew. The orientation is not carried:
// the TIFF reader's rows are already turned the way the tag says.
#pragma once

#include <string>

// The block for the first directory of the classic TIFF file at `path`;
// empty when the file has neither an EXIF nor a GPS directory, is not a
// classic TIFF, or its EXIF would be larger than a JPEG segment can carry.
std::string ExifBlockOfTiffFile(const char* path);

// The most bytes an EXIF block may have: a JPEG marker segment's 65,533
// bytes of data less the six of "Exif\0\0".
inline constexpr size_t kMaxExifBlockBytes = 65527;
