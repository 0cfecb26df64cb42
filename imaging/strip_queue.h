// StripQueue: the small bounded queue that joins the decoding stage of a
// conversion to its encoding stage. A fixed set of strip buffers goes round:
// the decoder takes an empty one, fills it and passes it on; the encoder
// takes it, encodes it and gives it back. Neither stage knows on which
// thread the other runs (the same one, taking turns, or another).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

// Rows of the picture in the encoder's input layout, `stride` bytes apart.
struct Strip {
  std::vector<uint8_t> pixels;
  int32_t first_row = 0;
  int32_t rows = 0;
};

class StripQueue {
 public:
  // `count` strips of `bytes` each, all empty.
  StripQueue(int count, size_t bytes);
  StripQueue(const StripQueue&) = delete;
  StripQueue& operator=(const StripQueue&) = delete;

  // Decoder side. TakeEmpty waits for an empty strip; null once stopped.
  Strip* TakeEmpty();
  void PutFull(Strip* strip);
  // No strip will follow the ones put so far.
  void Finish();

  // Encoder side. TakeFull waits for the next strip in order; null when the
  // decoder finished and every strip was taken, or once stopped.
  Strip* TakeFull();
  void PutEmpty(Strip* strip);

  // Either side gives up: every wait ends and takes return null.
  void Stop();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Strip> strips_;
  std::deque<Strip*> empty_;
  std::deque<Strip*> full_;
  bool finished_ = false;
  bool stopped_ = false;
};
