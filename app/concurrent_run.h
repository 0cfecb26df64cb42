// Several threads converting the rows of one run. Every worker calls Work();
// it takes rows from the RowSchedule until none is left for it, waiting
// while the only rows left write a destination that is in flight. The hooks
// are the run's contact with the window: `begin` marks a row as converting,
// `convert` converts it, `end` shows its result and the progress; `end` runs
// under the run's lock, so finishes are reported one at a time and the
// progress never goes back. `cancel_requested` is asked before each row.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "app/row_schedule.h"

namespace tulvex {

struct RunHooks {
  std::function<bool()> cancel_requested;
  std::function<void(size_t row)> begin;
  std::function<int32_t(size_t row)> convert;
  std::function<void(size_t row, int32_t result_code, size_t finished, size_t total)> end;
};

class ConcurrentRun {
 public:
  ConcurrentRun(RowSchedule schedule, RunHooks hooks);

  // Announces the threads that will call Work() (the caller too, if it
  // works); each must call Work() once, or
  // be given back with WorkerNotStarted() when its thread failed to start.
  void ExpectWorkers(size_t count);
  void WorkerNotStarted();
  // Converts rows on the calling thread until no row is left for it.
  void Work();
  // Returns once no row runs, none will start and every expected worker
  // has left Work(): the object may then be destroyed.
  void WaitUntilSettled();

 private:
  RowSchedule schedule_;
  RunHooks hooks_;
  std::mutex lock_;
  std::condition_variable changed_;
  size_t outstanding_workers_ = 0;  // expected workers that have not left Work()
};

}  // namespace tulvex
