// The metadata a JPEG file carries in its application markers, as libjpeg
// saved them: EXIF and XMP in APP1 segments, the colour profile in APP2
// chunks. Each payload is what follows the segment's identifier; the
// profile's chunks are put back together in their sequence order.
#pragma once

#include <string>

struct jpeg_marker_struct;

struct JpegMarkerMetadata {
  std::string exif;  // a TIFF-structured block, "II*\0" or "MM\0*" onwards
  std::string xmp;   // the XMP packet
  std::string icc;   // the whole profile; empty when a chunk is missing or repeated
};

// Reads the first EXIF and the first XMP segment and every profile chunk
// from libjpeg's list of saved markers. Segments libjpeg cut short are
// ignored.
JpegMarkerMetadata CollectJpegMetadata(const jpeg_marker_struct* markers);
