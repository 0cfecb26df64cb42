// The interface every picture reader has. The loader tries readers in a fixed
// order: the first whose Open accepts the file hands out its rows.
//
// A reader is opened on a file, describes the picture (imaging/readers/
// picture_description.h), then hands out its rows top to bottom in strips of
// whatever height the caller asks for, or all at once into a whole picture.
// A reader whose format forces a whole decode says so in its description;
// asked for strips anyway, it decodes the whole picture into a block of its
// own first and hands strips out of that.
//
// Once a read failed the reader refuses further work until it is reset or
// opened again. It lets go of its file as soon as the last row is out or a
// read failed, so that a destination may replace the source right after.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/cancel_request.h"
#include "imaging/picture_buffer.h"
#include "imaging/readers/picture_description.h"

// Called after each encoded row: stage 0 while writing; percent =
// (row + 1) * 100 / height. Optional.
using ProgressCallback = void (*)(int stage, int percent, int row, int reserved);

class PictureReader {
 public:
  PictureReader() = default;
  virtual ~PictureReader() = default;
  PictureReader(const PictureReader&) = delete;
  PictureReader& operator=(const PictureReader&) = delete;

  // Checks the file's signature and header. True when the file is this
  // reader's format: description() then tells what will be handed out. On
  // false the reader has reset itself. `cancel` is looked at inside long
  // whole-picture decodes; strip callers look at it between strips.
  bool Open(const char* path, const CancelRequest& cancel = CancelRequest());

  // Closes the file and frees the decoder state. Safe at any time.
  void Reset();

  const PictureDescription& description() const { return description_; }
  int32_t rows_read() const { return next_row_; }

  // Checks what can be checked before the first row is decoded (that the
  // file holds as many bytes as its rows need), so that a hostile header
  // fails before anything is made for its picture. ReadRows and
  // ReadWholePicture run it first when the caller has not.
  bool Prepare();

  // The next `count` rows (1 up to the rows left), `stride` bytes apart,
  // in the description's layout. False on any error: library failure,
  // truncated data, no memory, cancel inside a whole-picture decode.
  bool ReadRows(uint8_t* rows, size_t stride, int32_t count);

  // Every row at once, straight into `pixels`; only before any ReadRows.
  // This is the path of formats that need the whole picture anyway, without
  // the reader's own copy.
  bool ReadWholePicture(uint8_t* pixels, size_t stride);

 protected:
  // Opens the file and reads the header into `description` (size, layout,
  // palette, supply, working bytes). False when it is not this format.
  virtual bool ReadHeader(const char* path, PictureDescription* description) = 0;
  // The format's part of Prepare. Defaults to nothing to check.
  virtual bool CheckBeforeRows() { return true; }
  // Decodes the next `count` rows; rows_read() tells which. Only called for
  // kStrips pictures. Defaults to failing.
  virtual bool ReadStrip(uint8_t* rows, size_t stride, int32_t count);
  // Decodes the whole picture. Defaults to ReadStrip of every row.
  virtual bool DecodeWhole(uint8_t* pixels, size_t stride);
  // Closes the file and frees the decoder state and what ReadHeader learnt.
  virtual void ReleaseDecoder() = 0;

  const CancelRequest& cancel() const { return cancel_; }
  bool cancel_requested() const { return cancel_.requested(); }

 private:
  enum class State { kClosed, kOpen, kFailed };
  bool Finish(bool ok, int32_t rows);

  PictureDescription description_;
  CancelRequest cancel_;
  State state_ = State::kClosed;
  bool prepared_ = false;
  int32_t next_row_ = 0;
  // The whole picture of a kWholePicture reader asked for strips.
  PictureBuffer whole_;
};
