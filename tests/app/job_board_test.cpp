// The jobs beside the window: each job's own cancel request, the cancel
// button that stops them all, what the bar and the cancel button show while
// runs and scans overlap, one run at a time, and no job after the close.
#include "app/job_board.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tulvex {
namespace {

using Kind = JobBoard::Kind;

TEST(JobBoardTest, EachJobStopsOnItsOwnRequestAndTheBarFollowsTheRunElseTheNewestScan) {
  JobBoard board;
  int changes = 0;
  board.SetChangeListener([&changes] { ++changes; });
  JobBoard::Job* jobs[4] = {};  // scan A, run R, scan B, run S
  const auto stopped = [&] {
    std::string which;
    for (int i = 0; i < 4; ++i) which += jobs[i] && jobs[i]->cancel ? "ARBS"[i] : '.';
    return which;
  };
  const struct {
    std::function<void()> action;
    const char* name;
    JobBoard::Display want;
    const char* stopped;
  } steps[] = {
      {[&] { jobs[0] = board.Begin(Kind::kScan, ""); }, "scan A", {true, 0, true}, "...."},
      {[&] { board.Report(jobs[0], 3000); }, "A at 3000", {true, 3000, true}, "...."},
      {[&] { jobs[1] = board.Begin(Kind::kRun, ""); }, "run R takes the bar", {true, 0, true}, "...."},
      {[&] { board.Report(jobs[1], 5000); }, "R at 5000", {true, 5000, true}, "...."},
      {[&] { board.Report(jobs[0], 4000); }, "A at 4000", {true, 5000, true}, "...."},
      {[&] { board.CancelAll(); }, "cancel stops all, the button goes", {true, 5000, false}, "AR.."},
      {[&] { jobs[2] = board.Begin(Kind::kScan, ""); }, "scan B starts afresh", {true, 5000, true}, "AR.."},
      {[&] { board.End(jobs[1]), jobs[1] = nullptr; }, "R's end leaves the bar to B", {true, 0, true}, "A..."},
      {[&] { jobs[3] = board.Begin(Kind::kRun, ""); }, "a cancelled scan does not stop run S", {true, 0, true}, "A..."},
      {[&] { board.End(jobs[0]), jobs[0] = nullptr; }, "A ends", {true, 0, true}, "...."},
      {[&] { board.Report(jobs[2], 2500), board.End(jobs[3]), jobs[3] = nullptr; }, "S ends", {true, 2500, true}, "...."},
      {[&] { board.End(jobs[2]), jobs[2] = nullptr; }, "B ends", {false, 0, false}, "...."},
  };
  for (const auto& step : steps) {
    const int before = changes;
    step.action();
    const JobBoard::Display shown = board.Shown();
    EXPECT_TRUE(shown == step.want) << step.name << ": have busy " << shown.busy << " position " << shown.position
                                    << " cancel " << shown.cancel_shown;
    EXPECT_EQ(stopped(), step.stopped) << step.name;
    EXPECT_GT(changes, before) << step.name << " must tell the window";
    if (board.RunGoesOn()) {
      EXPECT_EQ(board.Begin(Kind::kRun, ""), nullptr) << "a second run beside " << step.name;
    }
  }
  EXPECT_TRUE(board.Idle());
  board.Close();
  EXPECT_EQ(board.Begin(Kind::kScan, ""), nullptr) << "nothing begins once the window closes";
}

}  // namespace
}  // namespace tulvex
