// MemoryBudget on its own: claims that do not fit wait until enough is given
// back, a claim larger than the budget runs alone, claims are granted in
// arrival order, and many threads together never hold more than the budget.
#include "imaging/memory_budget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Time a waiter is given to (wrongly) get through before we call it blocked.
constexpr auto kSettle = 100ms;

// Runs Acquire(bytes) on a thread of its own and remembers when it returned.
class Waiter {
 public:
  Waiter(MemoryBudget& budget, uint64_t bytes)
      : thread_([this, &budget, bytes] {
          oversized_ = budget.Acquire(bytes);
          granted_ = true;
        }) {}
  ~Waiter() { thread_.join(); }
  bool granted() const { return granted_; }
  bool oversized() const { return oversized_; }
  // Waits up to a few seconds for the grant.
  bool WaitForGrant() const {
    for (int i = 0; i < 500 && !granted_; ++i) std::this_thread::sleep_for(10ms);
    return granted_;
  }

 private:
  std::atomic<bool> granted_{false};
  std::atomic<bool> oversized_{false};
  std::thread thread_;
};

TEST(MemoryBudgetTest, ClaimThatDoesNotFitWaitsForRelease) {
  MemoryBudget budget(100);
  EXPECT_FALSE(budget.Acquire(60));
  EXPECT_FALSE(budget.Acquire(30));  // 90 of 100: fits beside the first
  {
    Waiter waiter(budget, 50);
    std::this_thread::sleep_for(kSettle);
    EXPECT_FALSE(waiter.granted()) << "140 of 100 bytes were granted";
    budget.Release(30, false);
    std::this_thread::sleep_for(kSettle);
    EXPECT_FALSE(waiter.granted()) << "110 of 100 bytes were granted";
    budget.Release(60, false);
    ASSERT_TRUE(waiter.WaitForGrant());
  }
  EXPECT_EQ(budget.in_use(), 50u);
  EXPECT_EQ(budget.peak_bytes(), 90u);
  budget.Release(50, false);
  EXPECT_EQ(budget.in_use(), 0u);
}

TEST(MemoryBudgetTest, OversizedClaimRunsAlone) {
  MemoryBudget budget(100);
  budget.Acquire(10);
  {
    Waiter big(budget, 250);
    std::this_thread::sleep_for(kSettle);
    EXPECT_FALSE(big.granted()) << "an oversized claim ran beside another";
    budget.Release(10, false);
    ASSERT_TRUE(big.WaitForGrant());
    EXPECT_TRUE(big.oversized());

    Waiter small(budget, 1);
    std::this_thread::sleep_for(kSettle);
    EXPECT_FALSE(small.granted()) << "a claim joined the oversized one";
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
  std::this_thread::sleep_for(kSettle);  // the large claim is queued first
  Waiter small(budget, 5);               // would fit, but came later
  std::this_thread::sleep_for(kSettle);
  EXPECT_FALSE(large.granted());
  EXPECT_FALSE(small.granted()) << "a later claim overtook one waiting before it";
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
  std::this_thread::sleep_for(kSettle);
  EXPECT_FALSE(waiter.granted());
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
        // Held for a moment, so that claims of different threads overlap
        // even where the scheduler runs one thread at a time for a while.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
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
