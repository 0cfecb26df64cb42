// ConvertPictureToJpeg called from many threads at once: every format side
// by side, each thread with its own destinations, must give exactly the
// pixels a lone conversion gives and leave no backing file behind; with a
// small picture-memory budget, the conversions together never hold more than
// the budget, none fails, and a picture larger than the budget runs alone.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "imaging/convert_command.h"
#include "imaging/memory_budget.h"
#include "imaging/picture_conversion.h"
#include "imaging/picture_loader.h"
#include "tests/support/library_format_files.h"
#include "tests/support/own_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

constexpr int kThreads = 8;

int32_t ConvertFile(const std::string& source, const std::string& destination) {
  const Value args[] = {LendText(source.c_str()), LendText(destination.c_str()), MakeLogical(false),
                        MakeInteger(100),         MakeLogical(true),           MakeInteger(0)};
  return static_cast<int32_t>(CallCommand(ConvertPictureToJpeg, args).word0);
}

std::vector<uint8_t> RgbSamples(const Pixels& pixels) { return pixels.samples; }

// Restores the process's budget however the test ends.
class BudgetCapacity {
 public:
  explicit BudgetCapacity(uint64_t bytes) : saved_(PictureMemoryBudget().capacity()) {
    PictureMemoryBudget().SetCapacity(bytes);
    PictureMemoryBudget().ResetStatistics();
  }
  ~BudgetCapacity() { PictureMemoryBudget().SetCapacity(saved_); }

 private:
  uint64_t saved_;
};

class ConcurrentConversionTest : public ::testing::Test {
 protected:
  // One picture of every readable kind, each of a different size.
  void MakeSources(int width, int height) {
    const Pixels rgb = MakeGradient(width, height, 3);
    const Pixels rgba = MakeGradient(width + 3, height + 1, 4);
    AddSource("rgb.png", WritePngFile(Path("rgb.png"), PngPicture{width, height, PNG_COLOR_TYPE_RGB, 8,
                                                                  false, RgbSamples(rgb)}));
    AddSource("rgba.png", WritePngFile(Path("rgba.png"), PngPicture{rgba.width, rgba.height,
                                                                    PNG_COLOR_TYPE_RGB_ALPHA, 8, true,
                                                                    RgbSamples(rgba)}));
    AddSource("lzw.tif", WriteTiffFile(Path("lzw.tif"), MakeGradient(width + 1, height + 2, 3)));
    AddSource("gray.jpg", WriteJpegFile(Path("gray.jpg"), MakeGradient(width + 2, height, 1), {}));
    AddSource("rgb.jpg", WriteJpegFile(Path("rgb.jpg"), MakeGradient(width, height + 3, 3), {}));
    AddSource("rgb.bmp", WriteFileBytes(Path("rgb.bmp"), MakeBmp(width, height, rgb.samples)));
    AddSource("rgb.pcx", WriteFileBytes(Path("rgb.pcx"), MakePcx24(width, height, rgb.samples)));
    std::vector<uint8_t> indices(static_cast<size_t>(width) * height), palette(768);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 7 + i / width);
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(255 - i / 3);
    AddSource("paletted.pcx", WriteFileBytes(Path("paletted.pcx"), MakePcx8(width, height, indices, palette)));
  }
  void AddSource(const std::string& name, bool written) {
    ASSERT_TRUE(written) << name;
    sources_.push_back(Path(name));
  }
  std::string Path(const std::string& name) const { return folder_.File(name); }

  // Converts every source on `threads` threads, thread t starting at source
  // t so that different formats run side by side. Returns the codes, one
  // row of sources per thread; destinations are "<thread>-<source>.jpg".
  std::vector<std::vector<int32_t>> ConvertEverywhere(int threads) {
    std::vector<std::vector<int32_t>> codes(threads, std::vector<int32_t>(sources_.size()));
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
      workers.emplace_back([&, t] {
        for (size_t n = 0; n < sources_.size(); ++n) {
          const size_t i = (n + t) % sources_.size();
          codes[t][i] = ConvertFile(sources_[i], Destination(t, i));
        }
      });
    }
    for (std::thread& worker : workers) worker.join();
    return codes;
  }
  std::string Destination(int thread, size_t source) const {
    return Path(std::to_string(thread) + "-" + std::to_string(source) + ".jpg");
  }

  void TearDown() override { EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind"; }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"concurrent_conversion"};
  std::vector<std::string> sources_;
};

TEST_F(ConcurrentConversionTest, ThreadsGiveTheSamePixelsAsOneConversionAtATime) {
  MakeSources(97, 61);
  std::vector<Pixels> alone(sources_.size());
  for (size_t i = 0; i < sources_.size(); ++i) {
    const std::string path = Path("alone-" + std::to_string(i) + ".jpg");
    ASSERT_EQ(ConvertFile(sources_[i], path), kConvertSucceeded) << sources_[i];
    ASSERT_TRUE(DecodeJpegFile(path, &alone[i])) << path;
  }
  const auto codes = ConvertEverywhere(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    for (size_t i = 0; i < sources_.size(); ++i) {
      ASSERT_EQ(codes[t][i], kConvertSucceeded) << "thread " << t << ", " << sources_[i];
      Pixels together;
      ASSERT_TRUE(DecodeJpegFile(Destination(t, i), &together)) << Destination(t, i);
      EXPECT_EQ(CompareSamples(together, alone[i], 0), "") << "thread " << t << ", " << sources_[i];
    }
  }
}

TEST_F(ConcurrentConversionTest, SmallBudgetBindsWithoutFailures) {
  // A budget of two and a half of the largest claim: two or three
  // conversions fit at once and the rest must wait.
  MakeSources(120, 90);
  uint64_t largest = 0;
  for (const std::string& source : sources_) {
    std::unique_ptr<PictureReader> reader;
    ASSERT_EQ(PictureLoader::OpenReader(source.c_str(), &reader), 1) << source;
    largest = std::max(largest, ConversionMemory(reader->description(), EncodeSettings{}));
  }
  const uint64_t budget = largest * 5 / 2;
  BudgetCapacity capacity(budget);
  const auto codes = ConvertEverywhere(kThreads);
  for (int t = 0; t < kThreads; ++t)
    for (size_t i = 0; i < sources_.size(); ++i)
      EXPECT_EQ(codes[t][i], kConvertSucceeded) << "thread " << t << ", " << sources_[i];
  EXPECT_LE(PictureMemoryBudget().peak_bytes(), budget);
  EXPECT_GT(PictureMemoryBudget().peak_bytes(), largest) << "conversions never overlapped";
  EXPECT_EQ(PictureMemoryBudget().peak_claims_beside_oversized(), 0);
  EXPECT_EQ(PictureMemoryBudget().in_use(), 0u) << "a conversion kept its claim";
}

TEST_F(ConcurrentConversionTest, PictureLargerThanTheBudgetRunsAlone) {
  MakeSources(60, 40);
  // 400 x 300 RGB: 360,000 bytes of picture alone, more than the budget.
  ASSERT_TRUE(WriteTiffFile(Path("large.tif"), MakeGradient(400, 300, 3)));
  sources_.push_back(Path("large.tif"));
  BudgetCapacity capacity(64 * 1024);
  const auto codes = ConvertEverywhere(4);
  for (int t = 0; t < 4; ++t)
    for (size_t i = 0; i < sources_.size(); ++i)
      EXPECT_EQ(codes[t][i], kConvertSucceeded) << "thread " << t << ", " << sources_[i];
  EXPECT_EQ(PictureMemoryBudget().peak_claims_beside_oversized(), 1)
      << "the large picture shared the budget with another conversion";
  EXPECT_EQ(PictureMemoryBudget().in_use(), 0u);
}

}  // namespace
