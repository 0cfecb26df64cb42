// One mutex and one condition variable; every change wakes both sides.
#include "imaging/strip_queue.h"

StripQueue::StripQueue(int count, size_t bytes) : strips_(static_cast<size_t>(count)) {
  for (Strip& strip : strips_) {
    strip.pixels.resize(bytes);
    empty_.push_back(&strip);
  }
}

Strip* StripQueue::TakeEmpty() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return stopped_ || !empty_.empty(); });
  if (stopped_) return nullptr;
  Strip* strip = empty_.front();
  empty_.pop_front();
  return strip;
}

void StripQueue::PutFull(Strip* strip) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    full_.push_back(strip);
  }
  changed_.notify_all();
}

void StripQueue::Finish() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
  }
  changed_.notify_all();
}

Strip* StripQueue::TakeFull() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return stopped_ || finished_ || !full_.empty(); });
  if (stopped_ || full_.empty()) return nullptr;
  Strip* strip = full_.front();
  full_.pop_front();
  return strip;
}

void StripQueue::PutEmpty(Strip* strip) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    empty_.push_back(strip);
  }
  changed_.notify_all();
}

void StripQueue::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}
