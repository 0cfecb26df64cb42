// The command boundary: records in, one integer record out. The arguments
// are checked here, before any file is touched; the conversion itself is
// imaging/picture_conversion.h.
#include "imaging/convert_command.h"

#include "imaging/picture_conversion.h"

namespace {

// The optional logical at `index`; false when it is left out.
bool ReadOptionalLogical(int32_t count, const Value* args, int32_t index, bool* truth) {
  *truth = false;
  if (count <= index || IsOmitted(args[index])) return true;
  if (args[index].tag != kTagLogical) return false;
  *truth = args[index].word0 != 0;
  return true;
}

bool ReadOptions(int32_t count, const Value* args, ConversionOptions* options) {
  bool strip = false;
  if (!ReadOptionalLogical(count, args, 7, &options->keep_dates) || !ReadOptionalLogical(count, args, 8, &strip))
    return false;
  options->keep_metadata = !strip;
  if (count <= 9 || IsOmitted(args[9])) return true;
  int32_t colour;
  if (!TryToInteger(args[9], &colour) || colour < 0 || colour > 0xFFFFFF) return false;
  options->flatten = true;
  options->background = RgbColour{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                                  static_cast<uint8_t>(colour)};
  return true;
}

bool ReadArguments(int32_t count, const Value* args, ConversionRequest* out) {
  if (count < 6 || args == nullptr) return false;
  if (args[0].tag != kTagText || args[1].tag != kTagText || args[2].tag != kTagLogical ||
      args[4].tag != kTagLogical)
    return false;
  out->source = TextOf(args[0]);
  out->destination = TextOf(args[1]);
  EncodeSettings& settings = out->settings;
  settings.grayscale = args[2].word0 == 1;
  settings.optimise = args[4].word0 != 0;
  if (!TryToInteger(args[3], &settings.quality) || !TryToInteger(args[5], &settings.smoothing)) return false;
  if (count >= 7 && !IsOmitted(args[6])) {
    if (args[6].tag != kTagInteger || PointerOf(args[6]) == nullptr) return false;
    out->cancel = CancelRequest(static_cast<const int32_t*>(PointerOf(args[6])));
  }
  if (!ReadOptions(count, args, &out->options)) return false;
  return *out->source != '\0' && *out->destination != '\0' && settings.valid();
}

}  // namespace

void ConvertPictureToJpeg(Value* result, int32_t count, const Value* args) {
  ConversionRequest request;
  const int32_t code = ReadArguments(count, args, &request) ? ConvertPicture(request) : kConvertBadArguments;
  *result = MakeInteger(code);
}
