// MemoryBudget: one mutex and one condition variable. Every change of the
// state wakes all waiters; each checks whether its ticket is being served
// and its bytes fit.
#include "imaging/memory_budget.h"

#include <algorithm>

bool MemoryBudget::Acquire(uint64_t bytes) {
  if (bytes == 0) return false;
  std::unique_lock<std::mutex> lock(mutex_);
  const uint64_t ticket = next_ticket_++;
  changed_.wait(lock, [&] { return ticket == serving_ticket_ && Fits(bytes); });
  ++serving_ticket_;
  in_use_ += bytes;
  ++claims_;
  const bool oversized = bytes > capacity_;
  if (oversized) ++oversized_claims_;
  peak_bytes_ = std::max(peak_bytes_, in_use_);
  if (oversized_claims_ > 0) peak_claims_beside_oversized_ = std::max(peak_claims_beside_oversized_, claims_);
  // The next ticket may fit too.
  changed_.notify_all();
  return oversized;
}

void MemoryBudget::Release(uint64_t bytes, bool oversized) {
  if (bytes == 0) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    in_use_ -= std::min(bytes, in_use_);
    if (claims_ > 0) --claims_;
    if (oversized && oversized_claims_ > 0) --oversized_claims_;
  }
  changed_.notify_all();
}

void MemoryBudget::SetCapacity(uint64_t capacity) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    capacity_ = capacity;
  }
  changed_.notify_all();
}

uint64_t MemoryBudget::capacity() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return capacity_;
}

uint64_t MemoryBudget::in_use() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return in_use_;
}

uint64_t MemoryBudget::peak_bytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return peak_bytes_;
}

int MemoryBudget::peak_claims_beside_oversized() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return peak_claims_beside_oversized_;
}

uint64_t MemoryBudget::waiting_claims() const {
  std::lock_guard<std::mutex> lock(mutex_);
  // A waiter holds a ticket not yet served; it took it under this lock and
  // gives the lock up only by sleeping on the condition.
  return next_ticket_ - serving_ticket_;
}

void MemoryBudget::ResetStatistics() {
  std::lock_guard<std::mutex> lock(mutex_);
  peak_bytes_ = in_use_;
  peak_claims_beside_oversized_ = oversized_claims_ > 0 ? claims_ : 0;
}

void BudgetClaim::Take(MemoryBudget& budget, uint64_t bytes) {
  Drop();
  oversized_ = budget.Acquire(bytes);
  budget_ = &budget;
  bytes_ = bytes;
}

void BudgetClaim::Drop() {
  if (budget_ != nullptr) budget_->Release(bytes_, oversized_);
  budget_ = nullptr;
  bytes_ = 0;
  oversized_ = false;
}

MemoryBudget& PictureMemoryBudget() {
  static MemoryBudget budget(kDefaultPictureBudget);
  return budget;
}
