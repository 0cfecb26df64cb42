// A request to stop a conversion part-way. The caller owns one 32-bit
// integer and sets it to non-zero (with an atomic store) from any thread;
// the engine looks at it between stages and between strips of rows, and a
// conversion that sees it stops without touching its destination.
#pragma once

#include <cstdint>

class CancelRequest {
 public:
  CancelRequest() = default;
  explicit CancelRequest(const int32_t* flag) : flag_(flag) {}

  bool requested() const { return flag_ != nullptr && __atomic_load_n(flag_, __ATOMIC_ACQUIRE) != 0; }

 private:
  const int32_t* flag_ = nullptr;  // null: nobody can cancel
};

// The owner's side of the flag, for code that holds it as a plain integer.
inline void RequestCancel(int32_t* flag) { __atomic_store_n(flag, 1, __ATOMIC_RELEASE); }
inline void ClearCancel(int32_t* flag) { __atomic_store_n(flag, 0, __ATOMIC_RELEASE); }
