// Row order, same-destination serialisation, cancel and progress of runs
// with several converters.
#include "app/concurrent_run.h"
#include "app/conversion_plan.h"
#include "app/row_schedule.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace tulvex {
namespace {

using Verdict = RowSchedule::Verdict;

TEST(RowScheduleTest, StartsFromTheTopAndWaitsOnABusyDestination) {
  // Overwrite mode: rows 0 and 2 name one file (in different case).
  RowSchedule schedule({"C:\\p\\a.bmp", "C:\\p\\b.bmp", "c:\\P\\A.BMP", "C:\\p\\c.bmp"});
  EXPECT_EQ(schedule.TakeNext().row, 0u);
  EXPECT_EQ(schedule.TakeNext().row, 1u);
  // Row 2 writes what row 0 writes: row 3 goes first.
  const RowSchedule::Next third = schedule.TakeNext();
  ASSERT_EQ(third.verdict, Verdict::kStart);
  EXPECT_EQ(third.row, 3u);
  EXPECT_EQ(schedule.TakeNext().verdict, Verdict::kWait);
  EXPECT_EQ(schedule.Finish(1), 1u);
  EXPECT_EQ(schedule.TakeNext().verdict, Verdict::kWait);  // still row 0's file
  EXPECT_EQ(schedule.Finish(0), 2u);
  const RowSchedule::Next after = schedule.TakeNext();
  ASSERT_EQ(after.verdict, Verdict::kStart);
  EXPECT_EQ(after.row, 2u);
  EXPECT_EQ(schedule.TakeNext().verdict, Verdict::kNothing);
  EXPECT_FALSE(schedule.Settled());
  schedule.Finish(2);
  schedule.Finish(3);
  EXPECT_TRUE(schedule.Settled());
  EXPECT_EQ(schedule.finished(), 4u);
}

TEST(RowScheduleTest, ThreeRowsOfOneFileKeepTheirOrder) {
  RowSchedule schedule({"x", "x", "y", "x"});
  EXPECT_EQ(schedule.TakeNext().row, 0u);
  EXPECT_EQ(schedule.TakeNext().row, 2u);
  EXPECT_EQ(schedule.TakeNext().verdict, Verdict::kWait);
  schedule.Finish(0);
  EXPECT_EQ(schedule.TakeNext().row, 1u);  // not 3: the file's rows keep list order
  EXPECT_EQ(schedule.TakeNext().verdict, Verdict::kWait);
}

TEST(RowScheduleTest, CancelStartsNothingButLetsRunningRowsFinish) {
  RowSchedule schedule({"a", "b", "c", "d"});
  schedule.TakeNext();
  schedule.TakeNext();
  schedule.Cancel();
  EXPECT_EQ(schedule.TakeNext().verdict, Verdict::kNothing);
  EXPECT_FALSE(schedule.Settled());  // two rows still convert
  schedule.Finish(0);
  schedule.Finish(1);
  EXPECT_TRUE(schedule.Settled());
  EXPECT_EQ(schedule.finished(), 2u);
}

TEST(RowScheduleTest, EmptyListIsSettledAtOnce) {
  RowSchedule schedule({});
  EXPECT_EQ(schedule.TakeNext().verdict, Verdict::kNothing);
  EXPECT_TRUE(schedule.Settled());
}

// Runs `rows` on `threads` workers (this thread among them) with hooks that
// record what a window would see.
struct RunRecord {
  std::mutex lock;
  std::vector<size_t> begun;
  std::vector<int32_t> positions;
  std::map<size_t, int32_t> codes;
  int max_in_flight = 0;
  bool same_destination_overlap = false;
};

void RunOnThreads(const std::vector<std::string>& destinations, size_t threads, RunRecord* record,
                  std::atomic<int32_t>* cancel_flag, size_t cancel_after_begun = SIZE_MAX) {
  std::atomic<int> in_flight{0};
  std::multiset<std::string> writing;
  RunHooks hooks;
  hooks.cancel_requested = [cancel_flag] { return cancel_flag->load() == 1; };
  hooks.begin = [&](size_t row) {
    std::lock_guard<std::mutex> hold(record->lock);
    record->begun.push_back(row);
    if (record->begun.size() == cancel_after_begun) cancel_flag->store(1);
  };
  hooks.convert = [&](size_t row) {
    {
      std::lock_guard<std::mutex> hold(record->lock);
      if (writing.count(destinations[row])) record->same_destination_overlap = true;
      writing.insert(destinations[row]);
      record->max_in_flight = std::max(record->max_in_flight, ++in_flight);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::lock_guard<std::mutex> hold(record->lock);
    writing.erase(writing.find(destinations[row]));
    --in_flight;
    return static_cast<int32_t>(row % 2 ? 1 : -3);
  };
  hooks.end = [&](size_t row, int32_t code, size_t finished, size_t total) {
    std::lock_guard<std::mutex> hold(record->lock);
    record->codes[row] = code;
    record->positions.push_back(ProgressPositionOf(finished, total));
  };

  ConcurrentRun run{RowSchedule(destinations), std::move(hooks)};
  run.ExpectWorkers(threads);
  std::vector<std::thread> helpers;
  for (size_t i = 1; i < threads; ++i) helpers.emplace_back([&run] { run.Work(); });
  run.Work();
  run.WaitUntilSettled();
  for (std::thread& helper : helpers) helper.join();
}

TEST(ConcurrentRunTest, ConvertsEveryRowOnSeveralThreadsWithRisingProgress) {
  std::atomic<int32_t> cancel{0};
  RunRecord record;
  RunOnThreads({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "6.jpg"}, 3, &record, &cancel);
  EXPECT_EQ(record.codes.size(), 6u);
  EXPECT_EQ(record.codes[1], 1);
  EXPECT_EQ(record.codes[2], -3);
  EXPECT_GE(record.max_in_flight, 2) << "the rows never converted side by side";
  EXPECT_LE(record.max_in_flight, 3);
  const std::vector<int32_t> want = {1666, 3333, 5000, 6666, 8333, 10000};
  EXPECT_EQ(record.positions, want);
}

TEST(ConcurrentRunTest, ThreeRowsGiveThePositionsOfThirds) {
  std::atomic<int32_t> cancel{0};
  RunRecord record;
  RunOnThreads({"a", "b", "c"}, 2, &record, &cancel);
  EXPECT_EQ(record.positions, (std::vector<int32_t>{3333, 6666, 10000}));
}

TEST(ConcurrentRunTest, OneFileInSeveralRowsIsNeverWrittenTwiceAtOnce) {
  std::atomic<int32_t> cancel{0};
  RunRecord record;
  RunOnThreads({"C:\\p\\a.bmp", "c:\\p\\A.bmp", "C:\\p\\a.bmp", "C:\\p\\b.bmp"}, 4, &record, &cancel);
  EXPECT_FALSE(record.same_destination_overlap);
  EXPECT_EQ(record.codes.size(), 4u);
}

TEST(ConcurrentRunTest, CancelLetsRunningRowsFinishAndStartsNoMore) {
  std::atomic<int32_t> cancel{0};
  RunRecord record;
  const std::vector<std::string> rows = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  RunOnThreads(rows, 2, &record, &cancel, 4);  // cancel while the fourth row converts
  // Every begun row ended; at most the two in flight at the cancel began
  // after the third, none later.
  EXPECT_EQ(record.codes.size(), record.begun.size());
  EXPECT_GE(record.begun.size(), 4u);
  EXPECT_LE(record.begun.size(), 5u);
  for (size_t row : record.begun) EXPECT_LT(row, 5u);
}

TEST(ConcurrentRunTest, WorkersThatNeverStartDoNotHoldTheRunOpen) {
  std::atomic<int32_t> cancel{0};
  RunHooks hooks;
  int converted = 0;
  hooks.cancel_requested = [&] { return cancel.load() == 1; };
  hooks.begin = [](size_t) {};
  hooks.convert = [&](size_t) { return ++converted, 1; };
  hooks.end = [](size_t, int32_t, size_t, size_t) {};
  ConcurrentRun run{RowSchedule({"a", "b"}), std::move(hooks)};
  run.ExpectWorkers(3);
  run.WorkerNotStarted();
  run.WorkerNotStarted();
  run.Work();
  run.WaitUntilSettled();  // would hang if the two announced workers counted
  EXPECT_EQ(converted, 2);
}

}  // namespace
}  // namespace tulvex
