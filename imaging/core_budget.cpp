// CoreBudget: a counter under a mutex; nobody waits on it.
#include "imaging/core_budget.h"

#include <thread>

namespace {

// Seats the calling thread holds, nested.
thread_local int seats_held = 0;

}  // namespace

void CoreBudget::Enter() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++busy_;
}

void CoreBudget::Leave() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (busy_ > 0) --busy_;
}

bool CoreBudget::TryTakeHelper() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (busy_ >= cores_) return false;
  ++busy_;
  return true;
}

void CoreBudget::GiveBackHelper() { Leave(); }

void CoreBudget::SetCores(int cores) {
  std::lock_guard<std::mutex> lock(mutex_);
  cores_ = cores < 1 ? 1 : cores;
}

int CoreBudget::cores() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cores_;
}

int CoreBudget::busy() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return busy_;
}

CoreBudget& ConversionCores() {
  static CoreBudget budget(static_cast<int>(std::thread::hardware_concurrency()));
  return budget;
}

CoreSeat::CoreSeat() : counted_(seats_held++ == 0) {
  if (counted_) ConversionCores().Enter();
}

CoreSeat::~CoreSeat() {
  --seats_held;
  if (counted_) ConversionCores().Leave();
}
