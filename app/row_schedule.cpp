// Row start order of a conversion run (see row_schedule.h).
#include "app/row_schedule.h"

#include "app/gbk_path.h"

namespace tulvex {

RowSchedule::RowSchedule(std::vector<std::string> destinations)
    : states_(destinations.size(), State::kWaiting) {
  folded_.reserve(destinations.size());
  for (const std::string& destination : destinations) folded_.push_back(FoldedPath(destination));
}

bool RowSchedule::InFlight(const std::string& folded) const {
  for (size_t row = 0; row < folded_.size(); ++row) {
    if (states_[row] == State::kRunning && folded_[row] == folded) return true;
  }
  return false;
}

RowSchedule::Next RowSchedule::TakeNext() {
  if (cancelled_) return {Verdict::kNothing, 0};
  while (first_waiting_ < states_.size() && states_[first_waiting_] != State::kWaiting) ++first_waiting_;
  if (first_waiting_ == states_.size()) return {Verdict::kNothing, 0};
  for (size_t row = first_waiting_; row < states_.size(); ++row) {
    if (states_[row] != State::kWaiting || InFlight(folded_[row])) continue;
    // A row may not overtake an earlier waiting row of the same
    // destination: the file's rows write it in list order.
    bool earlier_same = false;
    for (size_t before = first_waiting_; before < row && !earlier_same; ++before) {
      earlier_same = states_[before] == State::kWaiting && folded_[before] == folded_[row];
    }
    if (earlier_same) continue;
    states_[row] = State::kRunning;
    ++running_;
    return {Verdict::kStart, row};
  }
  return {Verdict::kWait, 0};
}

size_t RowSchedule::Finish(size_t row) {
  if (row < states_.size() && states_[row] == State::kRunning) {
    states_[row] = State::kDone;
    --running_;
    ++finished_;
  }
  return finished_;
}

bool RowSchedule::Settled() const {
  if (running_ != 0) return false;
  if (cancelled_) return true;
  for (size_t row = first_waiting_; row < states_.size(); ++row) {
    if (states_[row] == State::kWaiting) return false;
  }
  return true;
}

}  // namespace tulvex
