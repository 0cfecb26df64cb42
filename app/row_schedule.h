// The order in which a conversion run starts its rows when several convert
// at once. Rows start from the top; a row whose destination is being written
// by a running row waits for it (in overwrite mode one file may stand in two
// rows), and a later row may go first meanwhile. After a cancel no row
// starts; the running ones finish.
//
// Not thread-safe by itself: ConcurrentRun holds its lock around every call.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tulvex {

class RowSchedule {
 public:
  // One destination per row, in row order.
  explicit RowSchedule(std::vector<std::string> destinations);

  enum class Verdict {
    kStart,    // `row` may start now
    kWait,     // rows are left, but each writes a destination in flight
    kNothing,  // every row has started, or the run was cancelled
  };
  struct Next {
    Verdict verdict;
    size_t row;  // meaningful with kStart
  };

  Next TakeNext();
  // Marks a started row as done; answers the number of finished rows.
  size_t Finish(size_t row);
  void Cancel() { cancelled_ = true; }

  // No row runs and none will start.
  bool Settled() const;
  size_t running() const { return running_; }
  size_t finished() const { return finished_; }
  size_t total() const { return folded_.size(); }

 private:
  bool InFlight(const std::string& folded) const;

  enum class State { kWaiting, kRunning, kDone };
  std::vector<std::string> folded_;  // destinations compared case-insensitively
  std::vector<State> states_;
  size_t first_waiting_ = 0;  // rows above it have all started
  size_t running_ = 0;
  size_t finished_ = 0;
  bool cancelled_ = false;
};

}  // namespace tulvex
