// A JPEG is written into a new temporary file beside its destination and
// moved over the destination only when the whole file was written. A failed
// encode therefore never destroys or truncates what was there, which is what
// makes converting a picture over itself safe.
#pragma once

#include <cstdio>
#include <string>

#include "imaging/file_time.h"

class DestinationFile {
 public:
  DestinationFile() = default;
  ~DestinationFile() { Abandon(); }
  DestinationFile(const DestinationFile&) = delete;
  DestinationFile& operator=(const DestinationFile&) = delete;

  // Creates the temporary file in the destination's folder. False, creating
  // nothing, when the folder is missing or not writable.
  bool Create(const char* destination);

  // The open temporary file, for the encoder; null before Create.
  FILE* stream() const { return stream_; }

  // Gives the finished file this last-write time before it is moved into
  // place; a file whose time cannot be set is not committed. Until Commit
  // or Abandon, after Create.
  void KeepLastWriteTime(const FileTime& time) {
    last_write_ = time;
    keep_last_write_ = true;
  }

  // Closes the temporary file, gives it the kept time and moves it over the
  // destination. False when one of these fails; then the temporary file is
  // deleted and the destination is as it was.
  bool Commit();

  // Closes and deletes the temporary file, if any.
  void Abandon();

 private:
  // The platform's replacing move of the finished file; true on success.
  static bool MoveOver(const std::string& from, const std::string& to);

  FILE* stream_ = nullptr;
  bool keep_last_write_ = false;
  FileTime last_write_;
  std::string destination_;
  std::string temporary_;
};
