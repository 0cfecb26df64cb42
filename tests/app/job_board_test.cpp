// The jobs beside the window: each job's own cancel request, the cancel
// button that stops them all, what the bar and the cancel button show while
// runs and scans overlap, and the close that refuses new jobs.
#include "app/job_board.h"

#include <gtest/gtest.h>

#include <map>

namespace tulvex {
namespace {

using Display = JobBoard::Display;

// One user-visible moment: an action on the board, then what the window
// shows and which jobs have been asked to stop.
struct Step {
  const char* action;  // "scan X", "run X", "report X n", "end X", "cancel", "close"
  Display want;
  const char* stopped;  // the live jobs asked to stop, by name
};

class Board {
 public:
  Board() {
    board_.SetChangeListener([this] { ++changes_; });
  }

  // Performs `action`; false when the board refused to begin a job.
  bool Do(const std::string& action) {
    const size_t space = action.find(' ');
    const std::string verb = action.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : action.substr(space + 1);
    if (verb == "scan" || verb == "run") {
      JobBoard::Job* job = board_.Begin(verb == "run" ? JobBoard::Kind::kRun : JobBoard::Kind::kScan, "");
      if (!job) return false;
      jobs_[rest] = job;
    } else if (verb == "report") {
      board_.Report(jobs_.at(rest.substr(0, rest.find(' '))), std::stoi(rest.substr(rest.find(' ') + 1)));
    } else if (verb == "end") {
      board_.End(jobs_.at(rest));
      jobs_.erase(rest);
    } else if (verb == "cancel") {
      board_.CancelAll();
    } else {
      board_.Close();
    }
    return true;
  }

  std::string Stopped() const {
    std::string names;
    for (const auto& [name, job] : jobs_) {
      if (job->cancel != 0) names += name;
    }
    return names;
  }

  JobBoard& board() { return board_; }
  int changes() const { return changes_; }

 private:
  JobBoard board_;
  std::map<std::string, JobBoard::Job*> jobs_;  // live jobs by name
  int changes_ = 0;
};

TEST(JobBoardTest, EachJobStopsOnItsOwnRequestAndTheBarFollowsTheRunElseTheNewestScan) {
  const Step steps[] = {
      {"scan A", {true, 0, true}, ""},
      {"report A 3000", {true, 3000, true}, ""},
      {"run R", {true, 0, true}, ""},  // the run takes the bar
      {"report R 5000", {true, 5000, true}, ""},
      {"report A 4000", {true, 5000, true}, ""},
      {"cancel", {true, 5000, false}, "AR"},  // every job, and the button goes
      {"scan B", {true, 5000, true}, "AR"},   // a new job starts afresh, reviving none
      {"end R", {true, 0, true}, "A"},        // the run's end leaves the bar to the newest scan
      {"run S", {true, 0, true}, "A"},        // a cancelled scan does not stop the next run
      {"end A", {true, 0, true}, ""},
      {"report B 2500", {true, 0, true}, ""},
      {"end S", {true, 2500, true}, ""},
      {"end B", {false, 0, false}, ""},
  };
  Board board;
  for (const Step& step : steps) {
    const int changes = board.changes();
    ASSERT_TRUE(board.Do(step.action)) << step.action;
    EXPECT_EQ(board.board().Shown(), step.want)
        << step.action << ": have busy " << board.board().Shown().busy << " position "
        << board.board().Shown().position << " cancel " << board.board().Shown().cancel_shown;
    EXPECT_EQ(board.Stopped(), step.stopped) << step.action;
    EXPECT_GT(board.changes(), changes) << step.action << " must tell the window";
  }
  EXPECT_TRUE(board.board().Idle());
}

TEST(JobBoardTest, OneRunAtATimeAndNothingBeginsOnceTheWindowCloses) {
  Board board;
  ASSERT_TRUE(board.Do("run R"));
  EXPECT_TRUE(board.board().RunGoesOn());
  EXPECT_FALSE(board.Do("run S")) << "a second run while one goes on";
  ASSERT_TRUE(board.Do("scan A"));
  board.Do("close");
  EXPECT_EQ(board.Stopped(), "AR") << "closing stops every job";
  EXPECT_FALSE(board.Do("scan B"));
  board.Do("end R");
  EXPECT_FALSE(board.board().Idle());
  board.Do("end A");
  EXPECT_TRUE(board.board().Idle());
  EXPECT_FALSE(board.Do("run T"));
}

}  // namespace
}  // namespace tulvex
