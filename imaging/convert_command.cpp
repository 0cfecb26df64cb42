// The command boundary: records in, one integer record out. The arguments
// are checked here, before any file is touched; the conversion itself is
// imaging/picture_conversion.h.
#include "imaging/convert_command.h"

#include "imaging/picture_conversion.h"

namespace {

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
  return *out->source != '\0' && *out->destination != '\0' && settings.valid();
}

}  // namespace

void ConvertPictureToJpeg(Value* result, int32_t count, const Value* args) {
  ConversionRequest request;
  const int32_t code = ReadArguments(count, args, &request) ? ConvertPicture(request) : kConvertBadArguments;
  *result = MakeInteger(code);
}
