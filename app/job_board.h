// The jobs that go on beside the window: at most one conversion run and any
// number of folder scans, each on a worker thread of its own. Every job has
// its own cancel request, so stopping one never stops or revives another;
// the cancel button stops every job that goes on. The board also says what
// the progress bar and the cancel button show: the run's progress while a
// run goes on, else the newest scan's; the cancel button while some job has
// not been asked to stop yet. Once the program closes, no job begins.
//
// Thread-safe. A job is begun on the window thread, handed to its worker
// by its id, and ended by that worker as its very last step.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <string>

namespace tulvex {

class JobBoard {
 public:
  enum class Kind { kRun, kScan };

  struct Job {
    Kind kind;
    int32_t id;
    // The folder a scan walks, or the folder a run saves into ("" when the
    // run overwrites the sources).
    std::string folder;
    // The job's cancel request, lent to the engine (imaging/cancel_request.h):
    // 0 = go on, non-zero = stop. Written atomically, read by any thread.
    int32_t cancel = 0;
    int32_t position = 0;  // progress, 0..10000
  };

  // What the progress bar and the cancel button show.
  struct Display {
    bool busy = false;  // the bar is shown: some job goes on
    int32_t position = 0;
    bool cancel_shown = false;  // some job goes on that was not asked to stop
    bool operator==(const Display& other) const {
      return busy == other.busy && position == other.position && cancel_shown == other.cancel_shown;
    }
  };

  // Called after every change, outside the board's lock, on the thread that
  // made the change.
  void SetChangeListener(std::function<void()> listener);

  // A new job, or null when the program closes or, for a run, while a run
  // goes on. The pointer stays valid until End.
  Job* Begin(Kind kind, const std::string& folder);
  // The live job of that id; null if none.
  Job* Find(int32_t id);
  void Report(Job* job, int32_t position);
  // The job is over: its worker touches nothing of the program after this.
  void End(Job* job);

  // The cancel button: every live job is asked to stop.
  void CancelAll();
  // The window closes: every live job is asked to stop and none begins.
  void Close();

  bool RunGoesOn() const;
  bool Idle() const;  // no job goes on
  Display Shown() const;

 private:
  void Changed();

  mutable std::mutex lock_;
  std::list<Job> jobs_;  // in the order they began; a list keeps their addresses
  int32_t next_id_ = 1;
  bool closing_ = false;
  std::function<void()> listener_;
};

}  // namespace tulvex
