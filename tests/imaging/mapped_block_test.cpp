// The temporary-file-backed pixel memory: zeroed, writable, claimed under a
// name nobody else holds, and never left behind.
#include "imaging/mapped_block.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// While a block lives its hidden backing file is visible in the folder.
constexpr size_t kVisibleFilesPerBlock = 1;
#else
// The backing file is unlinked as soon as it is open.
constexpr size_t kVisibleFilesPerBlock = 0;
#endif

size_t NewBackingFiles(const std::set<std::string>& before) {
  size_t count = 0;
  for (const std::string& name : TemporaryBackingFiles()) count += before.count(name) == 0;
  return count;
}

// Points the temporary folder elsewhere for the scope of one test.
class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::string& folder) {
#ifdef _WIN32
    const char* name = "TMP";
#else
    const char* name = "TMPDIR";
#endif
    name_ = name;
    const char* old = std::getenv(name);
    had_old_ = old != nullptr;
    if (had_old_) old_ = old;
    Set(folder);
  }
  ~TemporaryFolderOverride() {
    if (had_old_) Set(old_);
#ifndef _WIN32
    else unsetenv(name_.c_str());
#endif
  }

 private:
  void Set(const std::string& value) {
#ifdef _WIN32
    _putenv((name_ + "=" + value).c_str());
#else
    setenv(name_.c_str(), value.c_str(), 1);
#endif
  }
  std::string name_, old_;
  bool had_old_ = false;
};

}  // namespace

TEST(MappedBlock, FreshBlocksAreZeroedWritableAndLeaveNoFile) {
  TemporaryFileWatch watch;
  const std::set<std::string> before = TemporaryBackingFiles();
  {
    MappedBlock first, second;
    ASSERT_TRUE(first.Allocate(100000));
    ASSERT_TRUE(second.Allocate(1));
    ASSERT_NE(first.data(), nullptr);
    EXPECT_EQ(first.size(), 100000u);
    EXPECT_EQ(second.size(), 1u);
    size_t nonzero = 0;
    for (size_t i = 0; i < first.size(); ++i) nonzero += first.data()[i] != 0;
    EXPECT_EQ(nonzero, 0u) << "a fresh block must read as zeros";
    for (size_t i = 0; i < first.size(); ++i) first.data()[i] = static_cast<uint8_t>(i * 7);
    second.data()[0] = 0xAB;
    EXPECT_EQ(first.data()[99999], static_cast<uint8_t>(99999 * 7));
    EXPECT_EQ(second.data()[0], 0xAB) << "two live blocks must not share memory";
    EXPECT_EQ(NewBackingFiles(before), 2 * kVisibleFilesPerBlock);
  }
  EXPECT_EQ(watch.Leftovers(), "");
}

TEST(MappedBlock, ZeroBytesReleasesAndReallocatingReplaces) {
  TemporaryFileWatch watch;
  const std::set<std::string> before = TemporaryBackingFiles();
  MappedBlock block;
  ASSERT_TRUE(block.Allocate(4096));
  block.data()[0] = 1;
  ASSERT_TRUE(block.Allocate(8192));
  EXPECT_EQ(block.size(), 8192u);
  EXPECT_EQ(block.data()[0], 0) << "a reallocated block starts zeroed";
  EXPECT_EQ(NewBackingFiles(before), kVisibleFilesPerBlock) << "the old backing file must go";
  EXPECT_TRUE(block.Allocate(0));
  EXPECT_EQ(block.data(), nullptr);
  EXPECT_EQ(block.size(), 0u);
  EXPECT_EQ(watch.Leftovers(), "");
  block.Release();  // releasing twice is harmless
}

TEST(MappedBlock, NeverTakesOverAnExistingFileOfTheSameName) {
  // A folder of this test's own, so that the file below disturbs nobody.
  ScratchFolder scratch("mapped_block_names");
  const std::string folder = fs::absolute(scratch.path()).string();
  TemporaryFolderOverride override_folder(folder);
  const std::string first = MappedBlock::TemporaryFolder() + kTemporaryPrefix + "0.tmp";
  ASSERT_EQ(first.compare(0, folder.size(), folder), 0) << "have " << first;
  ASSERT_TRUE(WriteFileBytes(first, "keep me"));
  {
    MappedBlock block;
    ASSERT_TRUE(block.Allocate(65536));
    block.data()[0] = 'X';
    MappedBlock second;
    ASSERT_TRUE(second.Allocate(10));
  }
  EXPECT_EQ(ReadFileBytes(first), "keep me") << "a file that was there before must stay untouched";
  EXPECT_EQ(TemporaryBackingFiles(), std::set<std::string>{std::string(kTemporaryPrefix) + "0.tmp"});
}

TEST(MappedBlock, FailsCleanlyWithoutAUsableFolderOrSpace) {
  TemporaryFileWatch watch;
  {
    TemporaryFolderOverride missing(MappedBlock::TemporaryFolder() + "tulvex-no-such-folder");
    MappedBlock block;
    EXPECT_FALSE(block.Allocate(16));
    EXPECT_EQ(block.data(), nullptr);
    EXPECT_EQ(block.size(), 0u);
  }
  // More than the disk (or, for 32 bits, the address space) can give.
  const size_t huge = sizeof(void*) == 4 ? size_t{0xC0000000u} : size_t{1} << 52;
  MappedBlock block;
  EXPECT_FALSE(block.Allocate(huge));
  EXPECT_EQ(block.data(), nullptr);
  EXPECT_EQ(block.size(), 0u);
  EXPECT_TRUE(block.Allocate(16)) << "a failed allocation must not spoil the next one";
  block.Release();
  EXPECT_EQ(watch.Leftovers(), "");
}

namespace {

// Holds every arriving thread until `count` have arrived; reusable.
class Rendezvous {
 public:
  explicit Rendezvous(int count) : count_(count) {}
  void arrive_and_wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    const int generation = generation_;
    if (++arrived_ == count_) {
      arrived_ = 0;
      ++generation_;
      all_here_.notify_all();
      return;
    }
    all_here_.wait(lock, [&] { return generation_ != generation; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable all_here_;
  const int count_;
  int arrived_ = 0;
  int generation_ = 0;
};

}  // namespace

// Blocks claimed by many threads at the same moment each get a file of their
// own: were two to share one, one thread's pattern would show in the other's.
TEST(MappedBlock, ThreadsClaimingAtOnceGetFilesOfTheirOwn) {
  constexpr int kThreads = 8;
  constexpr size_t kBytes = 64 * 1024;
  const std::set<std::string> before = TemporaryBackingFiles();
  Rendezvous all_claimed(kThreads + 1), all_checked(kThreads + 1);
  std::vector<int> intact(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      MappedBlock block;
      const bool allocated = block.Allocate(kBytes);
      if (allocated) std::memset(block.data(), 'a' + t, kBytes);
      all_claimed.arrive_and_wait();  // every block is held and written now
      bool same = allocated;
      for (size_t i = 0; same && i < kBytes; ++i) same = block.data()[i] == 'a' + t;
      intact[t] = same;
      all_checked.arrive_and_wait();  // the main thread counts the files
      all_checked.arrive_and_wait();
    });
  }
  all_claimed.arrive_and_wait();
  all_checked.arrive_and_wait();
  EXPECT_EQ(NewBackingFiles(before), kThreads * kVisibleFilesPerBlock);
  all_checked.arrive_and_wait();
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_TRUE(intact[t]) << "thread " << t << "'s block was changed";
  EXPECT_EQ(NewBackingFiles(before), 0u);
}
