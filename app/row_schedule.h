// The order in which a conversion run starts its rows when several convert
// at once. Rows start from the top. Two rows clash when they touch one file,
// as source or as destination of either (the same file listed twice, or a
// row that reads what an earlier row writes); a row never starts while a
// clashing row runs, nor before an earlier clashing row, so the rows of one
// file keep their list order. Meanwhile a later row may go first. After a
// cancel no row starts; the running ones finish.
//
// Which files a row touches is asked of a function, row by row in list
// order and only when the row is first considered: naming a file may look
// at the disk, and a long list should not wait for that before it starts.
//
// Not thread-safe by itself: ConcurrentRun holds its lock around every call.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tulvex {

class RowSchedule {
 public:
  // The keys of the files a row touches; rows that share a key clash. A
  // file may have several keys (its path, its identity on the disk).
  using FileKeysOf = std::function<std::vector<std::string>(size_t row)>;

  RowSchedule(size_t row_count, FileKeysOf keys_of);

  enum class Verdict {
    kStart,    // `row` may start now
    kWait,     // rows are left, but each clashes with a running row
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
  size_t total() const { return states_.size(); }

 private:
  const std::vector<std::string>& KeysOf(size_t row);

  enum class State { kWaiting, kRunning, kDone };
  FileKeysOf keys_of_;
  std::vector<std::vector<std::string>> keys_;  // asked for rows below asked_
  size_t asked_ = 0;
  std::vector<State> states_;
  std::unordered_map<std::string, size_t> running_keys_;  // key -> running rows holding it
  size_t first_waiting_ = 0;  // rows above it have all started
  size_t running_ = 0;
  size_t finished_ = 0;
  bool cancelled_ = false;
};

}  // namespace tulvex
