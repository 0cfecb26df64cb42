// Row order, the rows that touch one file kept apart, cancel and progress of
// runs with several converters.
#include "app/concurrent_run.h"
#include "app/conversion_plan.h"
#include "app/row_schedule.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

namespace tulvex {
namespace {

using Verdict = RowSchedule::Verdict;

// The rows' file keys as given (a real run folds and resolves them).
RowSchedule::FileKeysOf Keys(std::vector<std::vector<std::string>> rows) {
  return [rows = std::move(rows)](size_t row) { return rows[row]; };
}

// Each case's script: a row number expects TakeNext to start that row, "w"
// expects it to wait, "n" to have nothing left; "fN" finishes row N.
TEST(RowScheduleTest, RowsThatTouchOneFileNeverRunTogetherAndKeepTheirOrder) {
  const struct {
    const char* name;
    std::vector<std::vector<std::string>> keys;
    const char* script;
  } cases[] = {
      {"overwrite mode: rows 0 and 2 are one file; row 3 goes first meanwhile",
       {{"a.bmp"}, {"b.bmp"}, {"a.bmp"}, {"c.bmp"}}, "0 1 3 w f1 w f0 2 n"},
      {"three rows of one file start in list order", {{"x"}, {"x"}, {"y"}, {"x"}}, "0 2 w f0 1 w f1 3"},
      {"a row reading what an earlier row writes waits for it",
       {{"a.bmp", "1_a.jpg"}, {"1_a.jpg", "2_1_a.jpg"}, {"c.bmp", "3_c.jpg"}}, "0 2 w f0 1 n"},
      {"a row does not overtake an earlier waiting row it shares a file with",
       {{"a", "b"}, {"b", "c"}, {"c", "d"}, {"e"}}, "0 3 w f0 1 w f1 2"},
      {"a file's identity joins two spellings", {{"x.bmp", "|file 7:1"}, {"x~1.bmp", "|file 7:1"}, {"y.bmp"}},
       "0 2 w f0 1"},
  };
  for (const auto& test : cases) {
    RowSchedule schedule(test.keys.size(), Keys(test.keys));
    std::istringstream script(test.script);
    for (std::string step; script >> step;) {
      if (step[0] == 'f') {
        schedule.Finish(std::stoul(step.substr(1)));
        continue;
      }
      const RowSchedule::Next next = schedule.TakeNext();
      const std::string have = next.verdict == Verdict::kStart ? std::to_string(next.row)
                                                               : next.verdict == Verdict::kWait ? "w" : "n";
      EXPECT_EQ(have, step) << test.name;
    }
  }
}

TEST(RowScheduleTest, CancelStartsNothingButLetsRunningRowsFinish) {
  RowSchedule schedule(4, Keys({{"a"}, {"b"}, {"c"}, {"d"}}));
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
  RowSchedule schedule(0, Keys({}));
  EXPECT_EQ(schedule.TakeNext().verdict, Verdict::kNothing);
  EXPECT_TRUE(schedule.Settled());
}

// Whether a converting row is held until the other workers had their turn.
enum class Company { kNone, kWaitForOthers };

// Deadline of that hold: a worker that never asks the schedule is a fault.
constexpr std::chrono::milliseconds kOthersAsk{30000};

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

// With Company::kWaitForOthers a converting row is held until a second row
// converts beside it, every row has begun, or every other worker has asked
// the schedule since this row was taken and was told to wait (a worker asks
// under the run's lock before each row, so an ask numbered after the one
// that took this row came after it). Rows that may overlap then do, and a
// wrong schedule gets its chance to start a clashing row.
void RunOnThreads(const std::vector<std::string>& destinations, size_t threads, RunRecord* record,
                  std::atomic<int32_t>* cancel_flag, Company company_rule,
                  size_t cancel_after_begun = SIZE_MAX) {
  int in_flight = 0;
  std::condition_variable company;
  std::multiset<std::string> writing;
  uint64_t asks = 0;
  std::map<std::thread::id, uint64_t> last_ask;  // per worker, the number of its latest ask
  std::set<std::thread::id> converting;
  RunHooks hooks;
  hooks.cancel_requested = [&, cancel_flag] {
    std::lock_guard<std::mutex> hold(record->lock);
    last_ask[std::this_thread::get_id()] = ++asks;
    company.notify_all();
    return cancel_flag->load() == 1;
  };
  hooks.begin = [&](size_t row) {
    std::lock_guard<std::mutex> hold(record->lock);
    record->begun.push_back(row);
    if (record->begun.size() == cancel_after_begun) cancel_flag->store(1);
    company.notify_all();
  };
  hooks.convert = [&](size_t row) {
    std::unique_lock<std::mutex> hold(record->lock);
    const std::thread::id me = std::this_thread::get_id();
    const uint64_t taken_at = last_ask[me];
    if (writing.count(destinations[row])) record->same_destination_overlap = true;
    writing.insert(destinations[row]);
    converting.insert(me);
    record->max_in_flight = std::max(record->max_in_flight, ++in_flight);
    company.notify_all();
    const auto others_had_their_turn = [&] {
      if (last_ask.size() < threads) return false;  // a worker has not asked yet
      for (const auto& [worker, ask] : last_ask) {
        if (worker != me && !converting.count(worker) && ask <= taken_at) return false;
      }
      return true;
    };
    if (company_rule == Company::kWaitForOthers) {
      EXPECT_TRUE(company.wait_for(hold, kOthersAsk, [&] {
        return in_flight >= 2 || record->begun.size() == destinations.size() || others_had_their_turn();
      })) << "row " << row << " waited in vain for the other workers";
    }
    converting.erase(me);
    writing.erase(writing.find(destinations[row]));
    --in_flight;
    return static_cast<int32_t>(row % 2 ? 1 : -3);
  };
  hooks.end = [&](size_t row, int32_t code, size_t finished, size_t total) {
    std::lock_guard<std::mutex> hold(record->lock);
    record->codes[row] = code;
    record->positions.push_back(ProgressPositionOf(finished, total));
  };

  std::vector<std::vector<std::string>> keys;
  for (const std::string& destination : destinations) keys.push_back({destination});
  ConcurrentRun run{RowSchedule(destinations.size(), Keys(keys)), std::move(hooks)};
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
  RunOnThreads({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "6.jpg"}, 3, &record, &cancel, Company::kWaitForOthers);
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
  RunOnThreads({"a", "b", "c"}, 2, &record, &cancel, Company::kNone);
  EXPECT_EQ(record.positions, (std::vector<int32_t>{3333, 6666, 10000}));
}

TEST(ConcurrentRunTest, OneFileInSeveralRowsIsNeverWrittenTwiceAtOnce) {
  std::atomic<int32_t> cancel{0};
  RunRecord record;
  // Each row is held until the other workers were told to wait: a wrong
  // schedule would start the rows of a.bmp together.
  RunOnThreads({"a.bmp", "a.bmp", "a.bmp", "b.bmp"}, 4, &record, &cancel, Company::kWaitForOthers);
  EXPECT_FALSE(record.same_destination_overlap);
  EXPECT_EQ(record.codes.size(), 4u);
}

TEST(ConcurrentRunTest, CancelLetsRunningRowsFinishAndStartsNoMore) {
  std::atomic<int32_t> cancel{0};
  RunRecord record;
  const std::vector<std::string> rows = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  RunOnThreads(rows, 2, &record, &cancel, Company::kNone, 4);  // cancel while the fourth row begins
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
  ConcurrentRun run{RowSchedule(2, Keys({{"a"}, {"b"}})), std::move(hooks)};
  run.ExpectWorkers(3);
  run.WorkerNotStarted();
  run.WorkerNotStarted();
  run.Work();
  run.WaitUntilSettled();  // would hang if the two announced workers counted
  EXPECT_EQ(converted, 2);
}

}  // namespace
}  // namespace tulvex
