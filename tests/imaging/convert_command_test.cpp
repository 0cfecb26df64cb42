// ConvertPictureToJpeg through the command frame: the result code for every
// kind of input, what the written JPEG holds, and that neither a backing file
// nor a temporary destination file is left behind, whatever the outcome.
#include "imaging/convert_command.h"

#include <gtest/gtest.h>
#include <png.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

#include "imaging/picture_loader.h"
#include "tests/support/library_format_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temporary_files.h"

namespace {

struct Arguments {
  Value records[10];
};

Arguments MakeArguments(const std::string& source, const std::string& destination, uint32_t grayscale = 0,
                        int32_t quality = 100, bool optimise = true, int32_t smoothing = 0) {
  Arguments arguments{{LendText(source.c_str()), LendText(destination.c_str()),
                       Value{grayscale, 0, kTagLogical}, MakeInteger(quality), MakeLogical(optimise),
                       MakeInteger(smoothing)}};
  return arguments;
}

class ConvertCommandTest : public ::testing::Test {
 protected:
  // Runs the command; the strings must outlive the call, so they are kept.
  int32_t Convert(const Arguments& arguments, int32_t count = 6) {
    const Value result = CallCommand(ConvertPictureToJpeg, count, arguments.records);
    EXPECT_EQ(result.tag, kTagInteger);
    EXPECT_EQ(Strays(), "") << "temporary files left in the destination folder";
    return static_cast<int32_t>(result.word0);
  }
  int32_t Convert(const std::string& source, const std::string& destination, uint32_t grayscale = 0,
                  int32_t quality = 100, bool optimise = true, int32_t smoothing = 0) {
    return Convert(MakeArguments(source, destination, grayscale, quality, optimise, smoothing));
  }
  // Files in the scratch folder that the test did not make.
  std::string Strays() const {
    std::string list;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      const std::string name = entry.path().filename().string();
      if (name.find(".tmp") != std::string::npos || name[0] == '.') list += name + " ";
    }
    return list;
  }
  // The JPEG at `path` must decode like the picture the loader makes of
  // `source`, encoded by libjpeg at the same settings.
  void ExpectJpegOf(const std::string& source_copy, const std::string& path, bool grayscale,
                    const JpegSettings& settings = {}) {
    PictureBuffer picture, converted;
    PictureLoader loader;
    ASSERT_EQ(loader.Load(source_copy.c_str(), &picture), 1);
    ASSERT_TRUE(picture.ConvertInto(converted, grayscale ? 8 : 24, nullptr));
    Pixels have, want;
    ASSERT_TRUE(DecodeJpegFile(path, &have)) << path << " is no clean JPEG";
    ASSERT_TRUE(ReencodeJpeg(folder_.File("reference"), PixelsOfBuffer(converted), settings, &want));
    EXPECT_EQ(CompareSamples(have, want, 3), "");
  }
  void TearDown() override { EXPECT_EQ(watch_.Leftovers(), "") << "backing files left behind"; }

  TemporaryFileWatch watch_;
  ScratchFolder folder_{"convert_command"};
  std::string source_ = folder_.File("source.png");
  std::string destination_ = folder_.File("out.jpg");
};

}  // namespace

TEST_F(ConvertCommandTest, BadArgumentsChangeNothing) {
  ASSERT_TRUE(WritePngFile(source_, PngPicture{2, 2, PNG_COLOR_TYPE_GRAY, 8, false, {1, 2, 3, 4}}));
  ASSERT_TRUE(WriteFileBytes(destination_, "untouched"));
  EXPECT_EQ(Convert(source_, destination_, 0, 0), kConvertBadArguments) << "quality 0";
  EXPECT_EQ(Convert(source_, destination_, 0, 101), kConvertBadArguments) << "quality 101";
  EXPECT_EQ(Convert(source_, destination_, 0, 90, true, -1), kConvertBadArguments) << "smoothing -1";
  EXPECT_EQ(Convert(source_, destination_, 0, 90, true, 101), kConvertBadArguments) << "smoothing 101";
  EXPECT_EQ(Convert("", destination_), kConvertBadArguments) << "empty source";
  EXPECT_EQ(Convert(source_, ""), kConvertBadArguments) << "empty destination";
  EXPECT_EQ(Convert(MakeArguments(source_, destination_), 5), kConvertBadArguments) << "five arguments";

  Arguments wrong = MakeArguments(source_, destination_);
  wrong.records[0] = MakeInteger(1);
  EXPECT_EQ(Convert(wrong), kConvertBadArguments) << "source not a text";
  wrong = MakeArguments(source_, destination_);
  wrong.records[2] = MakeInteger(1);
  EXPECT_EQ(Convert(wrong), kConvertBadArguments) << "grayscale not a logical";
  wrong = MakeArguments(source_, destination_);
  wrong.records[3] = LendText("90");
  EXPECT_EQ(Convert(wrong), kConvertBadArguments) << "quality not a number";
  wrong = MakeArguments(source_, destination_);
  wrong.records[5] = OmittedArgument();
  EXPECT_EQ(Convert(wrong), kConvertBadArguments) << "smoothing omitted";
  EXPECT_EQ(ReadFileBytes(destination_), "untouched");

  // Any numeric record passes, floats truncated toward zero.
  Arguments numbers = MakeArguments(source_, destination_);
  numbers.records[3] = MakeFloat(100.9);
  numbers.records[5] = Value{0, 0, kTagShort};
  EXPECT_EQ(Convert(numbers), kConvertSucceeded);
  numbers.records[3] = MakeFloat(0.9);
  EXPECT_EQ(Convert(numbers), kConvertBadArguments) << "0.9 truncates to 0";
}

// The seventh argument lends the caller's cancel flag; a raised flag stops
// the conversion before the destination is touched.
TEST_F(ConvertCommandTest, CancelRequestLeavesTheDestinationAsItWas) {
  ASSERT_TRUE(WritePngFile(source_, PngPicture{2, 2, PNG_COLOR_TYPE_GRAY, 8, false, {1, 2, 3, 4}}));
  ASSERT_TRUE(WriteFileBytes(destination_, "untouched"));
  int32_t flag = 1;
  Arguments arguments = MakeArguments(source_, destination_);
  arguments.records[6] = Value{0, 0, kTagInteger};
  StorePointer(arguments.records[6], &flag);
  EXPECT_EQ(Convert(arguments, 7), kConvertCancelled);
  EXPECT_EQ(ReadFileBytes(destination_), "untouched");
  arguments.records[6].tag = kTagText;
  EXPECT_EQ(Convert(arguments, 7), kConvertBadArguments) << "a flag that is not an integer variable";
  arguments.records[6].tag = kTagInteger;
  flag = 0;
  EXPECT_EQ(Convert(arguments, 7), kConvertSucceeded);
  arguments.records[6] = OmittedArgument();
  EXPECT_EQ(Convert(arguments, 7), kConvertSucceeded) << "an omitted flag";
}

// Arguments 8 to 10: keep dates, strip, background. A picture converted
// over itself keeps the time it had before it was replaced.
TEST_F(ConvertCommandTest, FurtherOptionalArguments) {
  ASSERT_TRUE(WritePngFile(source_, PngPicture{2, 2, PNG_COLOR_TYPE_GRAY, 8, false, {1, 2, 3, 4}}));
  ASSERT_TRUE(WriteFileBytes(destination_, "untouched"));
  const struct {
    const char* what;
    int index;
    Value value;
  } bad[] = {
      {"keep dates not a logical", 7, MakeInteger(1)},
      {"strip not a logical", 8, LendText("1")},
      {"background above 0xFFFFFF", 9, MakeInteger(0x1000000)},
      {"background below 0", 9, MakeInteger(-1)},
      {"background not a number", 9, LendText("ffffff")},
  };
  for (const auto& c : bad) {
    Arguments arguments = MakeArguments(source_, destination_);
    arguments.records[c.index] = c.value;
    EXPECT_EQ(Convert(arguments, 10), kConvertBadArguments) << c.what;
  }
  EXPECT_EQ(ReadFileBytes(destination_), "untouched");

  const auto old_time = std::filesystem::last_write_time(source_) - std::chrono::hours(24 * 400);
  std::filesystem::last_write_time(source_, old_time);
  Arguments keep = MakeArguments(source_, source_);
  keep.records[7] = MakeLogical(true);
  ASSERT_EQ(Convert(keep, 8), kConvertSucceeded);
  EXPECT_TRUE(std::filesystem::last_write_time(source_) == old_time) << "converted over itself";
  keep.records[1] = LendText(destination_.c_str());
  ASSERT_EQ(Convert(keep, 8), kConvertSucceeded);
  EXPECT_TRUE(std::filesystem::last_write_time(destination_) == old_time) << "into another file";
  keep.records[7] = MakeLogical(false);
  ASSERT_EQ(Convert(keep, 8), kConvertSucceeded);
  EXPECT_FALSE(std::filesystem::last_write_time(destination_) == old_time) << "a date kept unasked";
}

TEST_F(ConvertCommandTest, SourcesThatCannotBeRead) {
  EXPECT_EQ(Convert(folder_.File("missing.png"), destination_), kConvertSourceMissing);
  EXPECT_EQ(Convert(folder_.path(), destination_), kConvertUnreadable) << "a folder";
  ASSERT_TRUE(WriteFileBytes(source_, std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14)));
  EXPECT_EQ(Convert(source_, destination_), kConvertUnreadable) << "GIF";
  ASSERT_TRUE(WriteJpegFile(source_, MakeGradient(64, 64, 3), JpegSettings{}));
  const std::string jpeg = ReadFileBytes(source_);
  ASSERT_TRUE(WriteFileBytes(source_, jpeg.substr(0, jpeg.size() - 100)));
  EXPECT_EQ(Convert(source_, destination_), kConvertUnreadable) << "truncated JPEG";
  EXPECT_FALSE(FileExists(destination_));
}

TEST_F(ConvertCommandTest, DestinationsThatCannotBeWritten) {
  ASSERT_TRUE(WriteJpegFile(source_, MakeGradient(16, 16, 3), JpegSettings{}));
  EXPECT_EQ(Convert(source_, folder_.File("missing/out.jpg")), kConvertEncodeFailed);
  EXPECT_FALSE(FileExists(folder_.File("missing")));
  std::filesystem::create_directory(folder_.File("taken"));
  EXPECT_EQ(Convert(source_, folder_.File("taken")), kConvertEncodeFailed) << "a folder as destination";
  EXPECT_TRUE(std::filesystem::is_directory(folder_.File("taken")));
}

#ifndef _WIN32
// A file size limit makes the encoder's writes fail half-way: a gray noise
// picture needs one byte a pixel in its backing file but more than that as
// a quality-100 JPEG.
TEST_F(ConvertCommandTest, FailedOverwriteLeavesTheSourceByteForByte) {
  PngPicture noise{256, 256, PNG_COLOR_TYPE_GRAY, 8, false, std::vector<uint8_t>(256 * 256)};
  uint32_t seed = 12345;
  for (uint8_t& sample : noise.rows) sample = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 23);
  ASSERT_TRUE(WritePngFile(source_, noise));
  const std::string before = ReadFileBytes(source_);
  rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 256 * 256 + 1024;  // the JPEG takes about 69000 bytes
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int32_t result = Convert(source_, source_, 1);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(result, kConvertEncodeFailed);
  EXPECT_TRUE(ReadFileBytes(source_) == before) << "the source changed";
  // Without the limit the same conversion works and is larger than it.
  ASSERT_EQ(Convert(source_, destination_, 1), kConvertSucceeded);
  EXPECT_GT(ReadFileBytes(destination_).size(), static_cast<size_t>(small.rlim_cur));
}
#endif

TEST_F(ConvertCommandTest, ConvertsAPictureOverItself) {
  const Pixels rgb = MakeGradient(40, 30, 3);
  ASSERT_TRUE(WritePngFile(source_, PngPicture{40, 30, PNG_COLOR_TYPE_RGB, 8, false, rgb.samples}));
  const std::string copy = folder_.File("copy.png");
  std::filesystem::copy_file(source_, copy);
  EXPECT_EQ(Convert(source_, source_), kConvertSucceeded);
  ExpectJpegOf(copy, source_, false);
}

// The program's users keep pictures under Chinese names: paths reach the
// engine as GBK text in the Windows build and must be opened as such.
TEST_F(ConvertCommandTest, ConvertsBetweenPathsWithChineseNames) {
  const std::string source = folder_.File("图片 猫.png");
  const std::string destination = folder_.File("结果.jpg");
  ASSERT_TRUE(WritePngFile(source, PngPicture{20, 10, PNG_COLOR_TYPE_RGB, 8, false,
                                              MakeGradient(20, 10, 3).samples}));
  ASSERT_EQ(Convert(source, destination), kConvertSucceeded);
  ExpectJpegOf(source, destination, false);
  EXPECT_EQ(Convert(folder_.File("没有.png"), destination), kConvertSourceMissing);
}

TEST_F(ConvertCommandTest, GrayscaleFlagChoosesTheComponents) {
  ASSERT_TRUE(WriteJpegFile(source_, MakeGradient(24, 16, 3), JpegSettings{}));
  Pixels out;
  ASSERT_EQ(Convert(source_, destination_, 1), kConvertSucceeded);
  ASSERT_TRUE(DecodeJpegFile(destination_, &out));
  EXPECT_EQ(out.components, 1) << "grayscale 1 on a colour source";
  ExpectJpegOf(source_, destination_, true);
  ASSERT_EQ(Convert(source_, destination_, 2), kConvertSucceeded);
  ASSERT_TRUE(DecodeJpegFile(destination_, &out));
  EXPECT_EQ(out.components, 3) << "only exactly 1 means grayscale";

  ASSERT_TRUE(WriteJpegFile(source_, MakeGradient(24, 16, 1), JpegSettings{}));
  ASSERT_EQ(Convert(source_, destination_, 0), kConvertSucceeded);
  ASSERT_TRUE(DecodeJpegFile(destination_, &out));
  EXPECT_EQ(out.components, 3) << "colour mode on a gray source";
}

TEST_F(ConvertCommandTest, AlphaIsDroppedAndPalettesGoThroughWeightedGray) {
  PngPicture rgba{2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {200, 100, 50, 0, 10, 20, 30, 128}};
  ASSERT_TRUE(WritePngFile(source_, rgba));
  ASSERT_EQ(Convert(source_, destination_), kConvertSucceeded);
  // Even the fully transparent pixel keeps its colour: no blending.
  Pixels out, want;
  ASSERT_TRUE(DecodeJpegFile(destination_, &out));
  ASSERT_TRUE(ReencodeJpeg(folder_.File("reference"), Pixels{2, 1, 3, {200, 100, 50, 10, 20, 30}}, {}, &want));
  EXPECT_EQ(CompareSamples(out, want, 3), "");

  PngPicture paletted{4, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {0, 1, 2, 1}};
  paletted.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
  ASSERT_TRUE(WritePngFile(source_, paletted));
  ASSERT_EQ(Convert(source_, destination_, 1, 100, true, 0), kConvertSucceeded);
  ExpectJpegOf(source_, destination_, true);
  ASSERT_TRUE(DecodeJpegFile(destination_, &out));
  EXPECT_NEAR(out.at(2, 0, 0), WeightedGray(0, 0, 255), 3) << "blue's weighted gray";
}

// Third-party pictures: every valid PngSuite file and every libtiff picture
// the TIFF reader accepts converts to a JPEG holding the decoded picture.
TEST_F(ConvertCommandTest, ConvertsTheThirdPartyTestPictures) {
  const std::string folder = std::string(TULVEX_TEST_IMAGES_DIR);
  if (folder.empty()) GTEST_SKIP() << "no test pictures configured";
  int converted = 0;
  for (const char* subfolder : {"/pngsuite", "/tiff"}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder + subfolder)) {
      const std::string name = entry.path().filename().string();
      const std::string extension = entry.path().extension().string();
      if (extension != ".png" && extension != ".tif" && extension != ".tiff") continue;
      SCOPED_TRACE(name);
      const int32_t result = Convert(entry.path().string(), destination_);
      // Corrupt PngSuite files must fail; libtiff's pictures include kinds
      // its RGBA interface does not decode, which may fail.
      if (name[0] == 'x') {
        EXPECT_EQ(result, kConvertUnreadable);
        continue;
      }
      if (extension != ".png" && result == kConvertUnreadable) continue;
      ASSERT_EQ(result, kConvertSucceeded);
      ExpectJpegOf(entry.path().string(), destination_, false);
      ++converted;
    }
  }
  EXPECT_GT(converted, 60);
}
