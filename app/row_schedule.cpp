// Row start order of a conversion run (see row_schedule.h).
#include "app/row_schedule.h"

#include <unordered_set>

namespace tulvex {

RowSchedule::RowSchedule(size_t row_count, FileKeysOf keys_of)
    : keys_of_(std::move(keys_of)), states_(row_count, State::kWaiting) {}

const std::vector<std::string>& RowSchedule::KeysOf(size_t row) {
  while (asked_ <= row) keys_.push_back(keys_of_(asked_++));
  return keys_[row];
}

RowSchedule::Next RowSchedule::TakeNext() {
  if (cancelled_) return {Verdict::kNothing, 0};
  while (first_waiting_ < states_.size() && states_[first_waiting_] != State::kWaiting) ++first_waiting_;
  if (first_waiting_ == states_.size()) return {Verdict::kNothing, 0};
  // Keys of the waiting rows passed over: a later row that shares one must
  // not overtake them.
  std::unordered_set<std::string> passed_over;
  for (size_t row = first_waiting_; row < states_.size(); ++row) {
    if (states_[row] != State::kWaiting) continue;
    const std::vector<std::string>& keys = KeysOf(row);
    bool clashes = false;
    for (const std::string& key : keys) {
      clashes = clashes || running_keys_.count(key) != 0 || passed_over.count(key) != 0;
    }
    if (clashes) {
      passed_over.insert(keys.begin(), keys.end());
      continue;
    }
    states_[row] = State::kRunning;
    for (const std::string& key : keys) ++running_keys_[key];
    ++running_;
    return {Verdict::kStart, row};
  }
  return {Verdict::kWait, 0};
}

size_t RowSchedule::Finish(size_t row) {
  if (row < states_.size() && states_[row] == State::kRunning) {
    states_[row] = State::kDone;
    for (const std::string& key : keys_[row]) {
      const auto held = running_keys_.find(key);
      if (held != running_keys_.end() && --held->second == 0) running_keys_.erase(held);
    }
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
