// The order of checks and the mapping of each stage's failure to a
// ConvertResult code: a missing source gives -1, a cancel request seen
// after that -8, a reading failure -3 and a writing failure -4.
#include "imaging/picture_conversion.h"

#include <memory>

#include "imaging/convert_command.h"
#include "imaging/core_budget.h"
#include "imaging/file_time.h"
#include "imaging/memory_budget.h"
#include "imaging/picture_loader.h"
#include "imaging/strip_pipeline.h"

uint64_t ConversionMemory(const PictureDescription& picture, const EncodeSettings& settings,
                          int32_t strip_rows) {
  uint64_t bytes = picture.working_bytes + JpegStripWriter::WorkingBytes(picture.width, picture.height, settings) +
                   StripPipeline::BufferBytes(picture, settings, strip_rows);
  if (picture.supply == RowSupply::kWholePicture) bytes += picture.WholePictureBytes();
  return bytes;
}

int32_t ConvertPicture(const ConversionRequest& request) {
  // The conversion keeps a processor busy. Its claim on the process's
  // picture memory is declared before the reader so that it is given back
  // after everything the reader held is freed.
  CoreSeat seat;
  BudgetClaim memory;
  std::unique_ptr<PictureReader> reader;
  try {
    if (request.cancel.requested()) return kConvertCancelled;
    const int opened = PictureLoader::OpenReader(request.source, &reader, request.cancel);
    if (opened == kLoaderNoFile) return kConvertSourceMissing;
    if (request.cancel.requested()) return kConvertCancelled;
    if (opened != kLoaderAccepted || !reader->Prepare()) return kConvertUnreadable;
    memory.Take(PictureMemoryBudget(),
                ConversionMemory(reader->description(), request.settings, request.strip_rows));
  } catch (...) {
    return kConvertUnreadable;  // out of memory before the first row
  }
  // Read before anything is written: the destination may be the source.
  FileTime source_time;
  if (request.options.keep_dates && !ReadLastWriteTime(request.source, &source_time)) return kConvertUnreadable;

  StripPipeline pipeline(*reader, request.settings, request.cancel, request.options, request.strip_rows);
  switch (pipeline.Run(request.destination, request.options.keep_dates ? &source_time : nullptr)) {
    case PipelineOutcome::kConverted: return kConvertSucceeded;
    case PipelineOutcome::kReadFailed: return kConvertUnreadable;
    case PipelineOutcome::kWriteFailed: return kConvertEncodeFailed;
    case PipelineOutcome::kCancelled: return kConvertCancelled;
  }
  return kConvertUnreadable;
}
