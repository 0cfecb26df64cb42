// MemoryBudget: a counting budget of picture memory shared by conversions
// that run at the same time. A conversion states up front how many bytes it
// will hold (imaging/picture_conversion.h counts them) and waits until they
// fit beside what the running conversions hold, so that many conversions together never exhaust the
// address space (a 32-bit process) or the machine's memory and none of them
// fails for want of it.
//
// Each conversion claims once, for everything it will hold, and holds the
// claim to its end: nobody waits while holding part of the budget, so claims
// cannot deadlock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

class MemoryBudget {
 public:
  explicit MemoryBudget(uint64_t capacity) : capacity_(capacity) {}
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

  // Blocks until `bytes` fit beside the claims held, then takes them. A
  // request larger than the whole capacity waits until no claim is held and
  // then runs alone. Requests are granted in arrival order, so a large one
  // is not starved by a stream of small ones. Zero bytes returns at once.
  // Returns whether the claim was granted as larger than the capacity.
  bool Acquire(uint64_t bytes);
  // Gives back what one Acquire of `bytes` took, with what it returned.
  void Release(uint64_t bytes, bool oversized);

  // Changes the capacity; waiting requests are looked at again.
  void SetCapacity(uint64_t capacity);
  uint64_t capacity() const;
  uint64_t in_use() const;

  // Observations for tests and diagnostics, kept since the last
  // ResetStatistics: the most bytes held at once, and the most claims held
  // at once while one of them was larger than the capacity (1 when such a
  // claim always ran alone, 0 when there was none).
  uint64_t peak_bytes() const;
  int peak_claims_beside_oversized() const;
  // Acquire calls blocked right now, each waiting for its turn or its fit.
  uint64_t waiting_claims() const;
  void ResetStatistics();

 private:
  bool Fits(uint64_t bytes) const { return claims_ == 0 || in_use_ + bytes <= capacity_; }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t capacity_;
  uint64_t in_use_ = 0;
  int claims_ = 0;
  int oversized_claims_ = 0;
  // Arrival order: the next ticket handed out and the ticket whose turn it is.
  uint64_t next_ticket_ = 0;
  uint64_t serving_ticket_ = 0;
  uint64_t peak_bytes_ = 0;
  int peak_claims_beside_oversized_ = 0;
};

// Holds one Acquire for its lifetime.
class BudgetClaim {
 public:
  BudgetClaim() = default;
  ~BudgetClaim() { Drop(); }
  BudgetClaim(const BudgetClaim&) = delete;
  BudgetClaim& operator=(const BudgetClaim&) = delete;

  // Drops what was held, then waits for `bytes` of `budget`.
  void Take(MemoryBudget& budget, uint64_t bytes);
  void Drop();
  uint64_t bytes() const { return bytes_; }

 private:
  MemoryBudget* budget_ = nullptr;
  uint64_t bytes_ = 0;
  bool oversized_ = false;
};

// The budget every conversion of this process claims from. Its capacity is
// kDefaultPictureBudget until changed (tests make it small).
MemoryBudget& PictureMemoryBudget();
inline constexpr uint64_t kDefaultPictureBudget =
    sizeof(void*) == 4 ? uint64_t{768} << 20 : uint64_t{4} << 30;
