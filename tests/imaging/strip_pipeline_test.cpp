// StripPipeline with a reader of made-up rows that can be told to raise the
// cancel flag or to fail at a given row: which outcome wins, that the
// destination is only replaced by a finished file, where reading stops, and
// on which threads the rows are decoded.
#include "imaging/strip_pipeline.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>

#include "tests/support/core_count.h"
#include "tests/support/library_format_files.h"
#include "tests/support/scratch_folder.h"

namespace {

constexpr int32_t kWidth = 2000, kHeight = 700, kStripRows = 128;

// Rows of a gradient; at `cancel_at` it raises the cancel flag, at
// `fail_at` it fails. Records the threads that decoded.
class MadeUpReader : public PictureReader {
 public:
  int32_t cancel_at = -1, fail_at = -1;
  int32_t* flag = nullptr;
  std::set<std::thread::id> threads;

 private:
  bool ReadHeader(const char*, PictureDescription* description) override {
    description->width = kWidth;
    description->height = kHeight;
    description->layout = PixelLayout::kGray8;
    return true;
  }
  bool ReadStrip(uint8_t* rows, size_t stride, int32_t count) override {
    threads.insert(std::this_thread::get_id());
    for (int32_t i = 0; i < count; ++i) {
      const int32_t y = rows_read() + i;
      if (y == cancel_at) RequestCancel(flag);
      if (y == fail_at) return false;
      for (int32_t x = 0; x < kWidth; ++x) rows[i * stride + x] = static_cast<uint8_t>(x / 8 + y);
    }
    return true;
  }
  void ReleaseDecoder() override {}
};


}  // namespace

TEST(StripPipeline, OutcomesAndWhatIsLeftBehind) {
  ScratchFolder folder("strip_pipeline");
  struct Case {
    const char* what;
    int32_t cancel_at, fail_at;
    bool destination_folder_exists;
    PipelineOutcome want;
  } cases[] = {
      {"converted", -1, -1, true, PipelineOutcome::kConverted},
      {"cancelled in the middle", 300, -1, true, PipelineOutcome::kCancelled},
      {"read failure in the middle", -1, 300, true, PipelineOutcome::kReadFailed},
      {"a read failure wins over a write failure", -1, 650, false, PipelineOutcome::kReadFailed},
      {"write failure", -1, -1, false, PipelineOutcome::kWriteFailed},
      {"a read failing once cancelled is a cancel", 300, 300, true, PipelineOutcome::kCancelled},
  };
  for (int cores : {1, 2}) {
    CoreCount count(cores);
    for (const Case& c : cases) {
      CoreSeat seat;  // as a conversion holds
      SCOPED_TRACE(::testing::Message() << c.what << ", " << cores << " processors");
      const std::string destination =
          c.destination_folder_exists ? folder.File("out.jpg") : folder.File("missing/out.jpg");
      ASSERT_TRUE(WriteFileBytes(folder.File("out.jpg"), "untouched"));
      int32_t flag = 0;
      const CancelRequest cancel(&flag);
      MadeUpReader reader;
      reader.cancel_at = c.cancel_at;
      reader.fail_at = c.fail_at;
      reader.flag = &flag;
      ASSERT_TRUE(reader.Open("made up", cancel));
      StripPipeline pipeline(reader, EncodeSettings{90, true, true, 0}, cancel, kStripRows);
      EXPECT_EQ(pipeline.Run(destination.c_str()), c.want);

      Pixels written;
      if (c.want == PipelineOutcome::kConverted) {
        ASSERT_TRUE(DecodeJpegFile(destination, &written));
        EXPECT_EQ(written.height, kHeight);
      } else {
        EXPECT_EQ(ReadFileBytes(folder.File("out.jpg")), "untouched");
      }
      // Reading stops at the end of the strip that saw the cancel.
      if (c.cancel_at >= 0) {
        EXPECT_LE(reader.rows_read(), c.cancel_at + kStripRows);
      }
      EXPECT_EQ(reader.threads.size(), 1u) << "the decoding moved between threads";
      EXPECT_EQ(reader.threads.count(std::this_thread::get_id()), cores == 1 ? 1u : 0u)
          << "decoded on the converting thread, want it there only when no processor is left";
    }
  }
  EXPECT_EQ(ConversionCores().busy(), 0) << "a helper was not given back";
}
