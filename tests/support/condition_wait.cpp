#include "tests/support/condition_wait.h"

#include <chrono>
#include <thread>

bool WaitForCondition(const std::function<bool()>& condition, uint32_t timeout_ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (condition()) return true;
    if (Clock::now() >= deadline) return condition();
    // The pause between two looks, so that polling leaves the processor to
    // the program being waited for.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}
