// ConvertPicture: one picture file to one JPEG file, the work behind the
// ConvertPictureToJpeg command. Rows flow from the reader through the strip
// pipeline (imaging/strip_pipeline.h) to the writer; a format that needs
// the whole picture is decoded whole by its reader and flows from there.
#pragma once

#include <cstdint>

#include "imaging/cancel_request.h"
#include "imaging/conversion_options.h"
#include "imaging/jpeg_strip_writer.h"
#include "imaging/readers/picture_description.h"

struct ConversionRequest {
  const char* source = nullptr;
  const char* destination = nullptr;
  EncodeSettings settings;
  ConversionOptions options;
  CancelRequest cancel;
};

// A ConvertResult code (imaging/convert_command.h): 1, -1, -3, -4 or -8.
// The settings are expected valid; the command checks them first.
int32_t ConvertPicture(const ConversionRequest& request);

// What converting this picture holds in memory at its peak: the reader's
// working bytes (and its whole picture where the format needs one), the
// strips in flight and the encoder's working bytes. Claimed from
// PictureMemoryBudget() before the first row is decoded.
uint64_t ConversionMemory(const PictureDescription& picture, const EncodeSettings& settings);
