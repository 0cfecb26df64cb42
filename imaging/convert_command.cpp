// The command boundary: records in, one integer record out. Everything below
// reports 1/0 (or the loader's codes); only here do they become
// ConvertResult codes.
#include "imaging/convert_command.h"

#include "imaging/cancel_request.h"
#include "imaging/jpeg_codec.h"
#include "imaging/memory_budget.h"
#include "imaging/picture_buffer.h"
#include "imaging/picture_loader.h"

namespace {

struct ConvertArguments {
  const char* source;
  const char* destination;
  bool grayscale;
  int32_t quality;
  bool optimise;
  int32_t smoothing;
  CancelRequest cancel;
};

bool ReadArguments(int32_t count, const Value* args, ConvertArguments* out) {
  if (count < 6 || args == nullptr) return false;
  if (args[0].tag != kTagText || args[1].tag != kTagText || args[2].tag != kTagLogical ||
      args[4].tag != kTagLogical)
    return false;
  out->source = TextOf(args[0]);
  out->destination = TextOf(args[1]);
  out->grayscale = args[2].word0 == 1;
  out->optimise = args[4].word0 != 0;
  if (!TryToInteger(args[3], &out->quality) || !TryToInteger(args[5], &out->smoothing)) return false;
  if (count >= 7 && !IsOmitted(args[6])) {
    if (args[6].tag != kTagInteger || PointerOf(args[6]) == nullptr) return false;
    out->cancel = CancelRequest(static_cast<const int32_t*>(PointerOf(args[6])));
  }
  return *out->source != '\0' && *out->destination != '\0' && out->quality >= 1 &&
         out->quality <= 100 && out->smoothing >= 0 && out->smoothing <= 100;
}

// Every byte of pixel memory the conversion will map: the picture, the
// reader's working bytes, and the copy the writer makes when the picture's
// layout is not the one it writes (24-bit colour, 8-bit gray).
uint64_t PictureMemoryOf(const PictureDescription& picture, bool grayscale) {
  const PixelLayout written = grayscale ? PixelLayout::kGray8 : PixelLayout::kRgb24;
  uint64_t bytes = picture.WholePictureBytes() + picture.working_bytes;
  if (picture.layout != written) bytes += RowBytes(written, picture.width) * static_cast<uint64_t>(picture.height);
  return bytes;
}

int32_t Convert(const ConvertArguments& arguments) {
  // The picture and both codecs live for this call only. Running out of
  // memory (the only exception below) is a failure of the current stage.
  // The claim on the process's picture memory is declared first so that it
  // is given back after the picture's blocks are unmapped.
  BudgetClaim memory;
  bool reading = true;
  try {
    PictureBuffer picture;
    PictureLoader loader;
    const auto admit = [&](const PictureDescription& described) {
      memory.Take(PictureMemoryBudget(), PictureMemoryOf(described, arguments.grayscale));
    };
    if (arguments.cancel.requested()) return kConvertCancelled;
    const int loaded = loader.Load(arguments.source, &picture, admit);
    if (loaded == -1) return kConvertSourceMissing;
    if (arguments.cancel.requested()) return kConvertCancelled;
    if (loaded != 1) return kConvertUnreadable;
    reading = false;
    JpegCodec writer;
    const int written = writer.Write(arguments.destination, picture, arguments.quality,
                                     arguments.grayscale ? 0 : 1, arguments.optimise ? 1 : 0,
                                     arguments.smoothing, nullptr, arguments.cancel);
    if (written != 1 && arguments.cancel.requested()) return kConvertCancelled;
    return written == 1 ? kConvertSucceeded : kConvertEncodeFailed;
  } catch (...) {
    return reading ? kConvertUnreadable : kConvertEncodeFailed;
  }
}

}  // namespace

void ConvertPictureToJpeg(Value* result, int32_t count, const Value* args) {
  ConvertArguments arguments;
  const int32_t code = ReadArguments(count, args, &arguments) ? Convert(arguments) : kConvertBadArguments;
  *result = MakeInteger(code);
}
