// Sets the processors that conversions may keep busy (imaging/core_budget.h)
// for one test, and restores the count however the test ends.
#pragma once

#include "imaging/core_budget.h"

class CoreCount {
 public:
  explicit CoreCount(int cores) : saved_(ConversionCores().cores()) { ConversionCores().SetCores(cores); }
  ~CoreCount() { ConversionCores().SetCores(saved_); }
  CoreCount(const CoreCount&) = delete;
  CoreCount& operator=(const CoreCount&) = delete;

 private:
  int saved_;
};
