// MemoryBudget on its own: claims that do not fit wait until enough is given
// back, a claim larger than the budget runs alone, claims are granted in
// arrival order, and many threads together never hold more than the budget.
// A claim that must wait is seen waiting in the budget itself, never guessed
// from a pause.
#include "imaging/memory_budget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include "tests/support/condition_wait.h"

namespace {

// Deadline of every wait below: a grant or a queue that does not come by
// then is a fault, not a slow machine.
constexpr uint32_t kDeadlineMs = 10000;

// Runs Acquire(bytes) on a thread of its own and remembers when it returned.
class Waiter {
 public:
  Waiter(MemoryBudget& budget, uint64_t bytes)
      : budget_(budget), thread_([this, bytes] {
          oversized_ = budget_.Acquire(bytes);
          granted_ = true;
        }) {}
  // A test that failed early leaves the claim waiting: room for everything
  // lets the thread end.
  ~Waiter() {
    if (!granted_) budget_.SetCapacity(UINT64_MAX / 2);
    thread_.join();
  }
  bool oversized() const { return oversized_; }
  bool WaitForGrant() const {
    return WaitForCondition([this] { return granted_.load(); }, kDeadlineMs);
  }

 private:
  MemoryBudget& budget_;
  std::atomic<bool> granted_{false};
  std::atomic<bool> oversized_{false};
  std::thread thread_;
};

// Waits until `count` claims are blocked in the budget. A claim counts as
// blocked once it has looked and found no room, so a wrong grant never
// shows as a waiter.
bool WaitForWaiters(const MemoryBudget& budget, uint64_t count) {
  return WaitForCondition([&] { return budget.waiting_claims() == count; }, kDeadlineMs);
}

TEST(MemoryBudgetTest, ClaimThatDoesNotFitWaitsForRelease) {
  MemoryBudget budget(100);
  EXPECT_FALSE(budget.Acquire(60));
  EXPECT_FALSE(budget.Acquire(30));  // 90 of 100: fits beside the first
  {
    Waiter waiter(budget, 50);
    ASSERT_TRUE(WaitForWaiters(budget, 1)) << "140 of 100 bytes were granted";
    budget.Release(30, false);
    budget.Release(60, false);
    ASSERT_TRUE(waiter.WaitForGrant());
  }
  EXPECT_EQ(budget.in_use(), 50u);
  EXPECT_EQ(budget.peak_bytes(), 90u);
  {
    Waiter waiter(budget, 55);
    ASSERT_TRUE(WaitForWaiters(budget, 1)) << "105 of 100 bytes were granted";
    budget.Release(50, false);
    ASSERT_TRUE(waiter.WaitForGrant());
  }
  EXPECT_EQ(budget.in_use(), 55u);
  budget.Release(55, false);
  EXPECT_EQ(budget.in_use(), 0u);
}

TEST(MemoryBudgetTest, OversizedClaimRunsAlone) {
  MemoryBudget budget(100);
  budget.Acquire(10);
  {
    Waiter big(budget, 250);
    ASSERT_TRUE(WaitForWaiters(budget, 1)) << "an oversized claim ran beside another";
    budget.Release(10, false);
    ASSERT_TRUE(big.WaitForGrant());
    EXPECT_TRUE(big.oversized());

    Waiter small(budget, 1);
    ASSERT_TRUE(WaitForWaiters(budget, 1)) << "a claim joined the oversized one";
    budget.Release(250, true);
    ASSERT_TRUE(small.WaitForGrant());
    EXPECT_FALSE(small.oversized());
  }
  budget.Release(1, false);
  EXPECT_EQ(budget.peak_claims_beside_oversized(), 1);
  EXPECT_EQ(budget.in_use(), 0u);
}

TEST(MemoryBudgetTest, LaterSmallClaimDoesNotOvertakeWaitingLargeOne) {
  MemoryBudget budget(100);
  budget.Acquire(90);
  Waiter large(budget, 50);
  ASSERT_TRUE(WaitForWaiters(budget, 1)) << "50 bytes were granted beside 90";
  Waiter small(budget, 5);  // would fit, but came later
  ASSERT_TRUE(WaitForWaiters(budget, 2)) << "a later claim overtook one waiting before it";
  budget.Release(90, false);
  ASSERT_TRUE(large.WaitForGrant());
  ASSERT_TRUE(small.WaitForGrant());
  budget.Release(50, false);
  budget.Release(5, false);
}

TEST(MemoryBudgetTest, RaisingTheCapacityLetsWaitersIn) {
  MemoryBudget budget(100);
  budget.Acquire(80);
  Waiter waiter(budget, 80);
  ASSERT_TRUE(WaitForWaiters(budget, 1)) << "160 of 100 bytes were granted";
  budget.SetCapacity(200);
  ASSERT_TRUE(waiter.WaitForGrant());
  budget.Release(80, false);
  budget.Release(80, false);
}

TEST(MemoryBudgetTest, ManyThreadsNeverHoldMoreThanTheBudget) {
  constexpr uint64_t kCapacity = 1000;
  MemoryBudget budget(kCapacity);
  std::atomic<uint64_t> held{0};
  std::atomic<uint64_t> most_seen{0};
  // Every thread starts claiming together: a thread start can take longer
  // than a whole thread's work.
  std::atomic<bool> go{false};
  std::atomic<uint64_t> first_claims{0};
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      while (!go.load()) std::this_thread::yield();
      std::mt19937 random(t);
      for (int i = 0; i < 300; ++i) {
        const uint64_t bytes = 1 + random() % 400;
        BudgetClaim claim;
        claim.Take(budget, bytes);
        // What the claim holders see together, counted outside the budget.
        const uint64_t now = held += bytes;
        uint64_t seen = most_seen.load();
        while (now > seen && !most_seen.compare_exchange_weak(seen, now)) {
        }
        // Every thread's first claim is held until each thread holds its
        // own or waits in the budget: claims then run side by side however
        // the threads are scheduled, and eight claims of up to 400 bytes
        // must meet the capacity. (Once one thread goes on, its later claims
        // may wait too: hence at least eight.)
        if (i == 0) {
          ++first_claims;
          EXPECT_TRUE(WaitForCondition([&] { return first_claims.load() + budget.waiting_claims() >= 8; },
                                       kDeadlineMs))
              << first_claims.load() << " first claims held, " << budget.waiting_claims() << " waiting";
        }
        held -= bytes;
      }
    });
  }
  go = true;
  for (std::thread& thread : threads) thread.join();
  EXPECT_LE(most_seen.load(), kCapacity);
  EXPECT_LE(budget.peak_bytes(), kCapacity);
  EXPECT_GT(budget.peak_bytes(), 400u) << "claims never ran side by side";
  EXPECT_EQ(budget.in_use(), 0u);
  EXPECT_EQ(budget.peak_claims_beside_oversized(), 0);
}

}  // namespace
