// CoreBudget: how many threads conversions keep busy in this process,
// against the processors there are. A converting thread holds a seat; a
// conversion may take a second thread for its decoding stage only while a
// processor is left over. So with several pictures converting side by side
// each uses one thread, and when pictures run out (the last picture of a
// batch, or the program's one conversion at a time) a picture's decoding
// and encoding run on two.
#pragma once

#include <mutex>

class CoreBudget {
 public:
  explicit CoreBudget(int cores) : cores_(cores < 1 ? 1 : cores) {}
  CoreBudget(const CoreBudget&) = delete;
  CoreBudget& operator=(const CoreBudget&) = delete;

  // A converting thread, counted whatever the processors.
  void Enter();
  void Leave();
  // A helper thread, granted only while fewer threads than processors are
  // busy. Each granted helper is given back once.
  bool TryTakeHelper();
  void GiveBackHelper();

  void SetCores(int cores);
  int cores() const;
  int busy() const;

 private:
  mutable std::mutex mutex_;
  int cores_;
  int busy_ = 0;
};

// The budget of every conversion of this process: one core per processor
// until changed (tests change it).
CoreBudget& ConversionCores();

// Holds a seat of ConversionCores() for the calling thread. Seats nest: a
// thread that already holds one (a batch worker between its pictures) is
// not counted twice.
class CoreSeat {
 public:
  CoreSeat();
  ~CoreSeat();
  CoreSeat(const CoreSeat&) = delete;
  CoreSeat& operator=(const CoreSeat&) = delete;

 private:
  bool counted_;
};
