// Rows converted by several workers (see concurrent_run.h).
#include "app/concurrent_run.h"

#include <utility>

namespace tulvex {

ConcurrentRun::ConcurrentRun(RowSchedule schedule, RunHooks hooks)
    : schedule_(std::move(schedule)), hooks_(std::move(hooks)) {}

void ConcurrentRun::ExpectWorkers(size_t count) {
  std::lock_guard<std::mutex> hold(lock_);
  outstanding_workers_ += count;
}

void ConcurrentRun::WorkerNotStarted() {
  std::lock_guard<std::mutex> hold(lock_);
  if (outstanding_workers_ > 0) --outstanding_workers_;
  changed_.notify_all();
}

void ConcurrentRun::Work() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    if (hooks_.cancel_requested()) schedule_.Cancel();
    const RowSchedule::Next next = schedule_.TakeNext();
    if (next.verdict == RowSchedule::Verdict::kNothing) break;
    if (next.verdict == RowSchedule::Verdict::kWait) {
      // A running row holds the destination; its finish wakes us.
      changed_.wait(hold);
      continue;
    }
    hold.unlock();
    hooks_.begin(next.row);
    const int32_t code = hooks_.convert(next.row);
    hold.lock();
    const size_t finished = schedule_.Finish(next.row);
    hooks_.end(next.row, code, finished, schedule_.total());
    changed_.notify_all();
  }
  if (outstanding_workers_ > 0) --outstanding_workers_;
  // This worker may have seen the cancel first: wake the others.
  changed_.notify_all();
}

void ConcurrentRun::WaitUntilSettled() {
  std::unique_lock<std::mutex> hold(lock_);
  changed_.wait(hold, [this] {
    if (hooks_.cancel_requested()) schedule_.Cancel();
    return schedule_.Settled() && outstanding_workers_ == 0;
  });
}

}  // namespace tulvex
