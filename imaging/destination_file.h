// A JPEG is written into a new temporary file beside its destination and
// moved over the destination only when the whole file was written. A failed
// encode therefore never destroys or truncates what was there, which is what
// makes converting a picture over itself safe.
#pragma once

#include <cstdio>
#include <string>

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

  // Closes the temporary file and moves it over the destination. False when
  // the close or the move fails; then the temporary file is deleted and the
  // destination is as it was.
  bool Commit();

  // Closes and deletes the temporary file, if any.
  void Abandon();

 private:
  // The platform's replacing move of the finished file; true on success.
  static bool MoveOver(const std::string& from, const std::string& to);

  FILE* stream_ = nullptr;
  std::string destination_;
  std::string temporary_;
};
