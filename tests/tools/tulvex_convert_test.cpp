// tulvex-convert through the shell: output lines, exit status, options and
// list files, and the usage errors.
#include <gtest/gtest.h>
#include <png.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "tests/support/library_format_files.h"
#include "tests/support/scratch_folder.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string out, err;
};

class TulvexConvertTest : public ::testing::Test {
 protected:
  // Runs the tool with `arguments` (no quoting needed: the paths have no
  // spaces), optionally feeding `input` as standard input.
  ToolRun Tool(const std::string& arguments, const std::string& input = "") {
    std::string tool = TULVEX_CONVERT_TOOL;
#ifdef _WIN32
    for (char& c : tool)
      if (c == '/') c = '\\';
#endif
    const std::string in = folder_.File("stdin.txt"), out = folder_.File("stdout.txt"),
                      err = folder_.File("stderr.txt");
    EXPECT_TRUE(WriteFileBytes(in, input));
    const std::string command = tool + " " + arguments + " <" + in + " >" + out + " 2>" + err;
    int status = std::system(command.c_str());
#ifndef _WIN32
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    ToolRun run;
    run.status = status;
    run.out = ReadFileBytes(out);
    run.err = ReadFileBytes(err);
#ifdef _WIN32
    // Standard output is in text mode there.
    for (size_t at; (at = run.out.find("\r\n")) != std::string::npos;) run.out.erase(at, 1);
#endif
    return run;
  }
  void SetUp() override {
    ASSERT_TRUE(WritePngFile(source_, PngPicture{32, 24, PNG_COLOR_TYPE_RGB, 8, false, MakeGradient(32, 24, 3).samples}));
  }

  ScratchFolder folder_{"tulvex_convert"};
  std::string source_ = folder_.File("source.png");
  std::string destination_ = folder_.File("out.jpg");
};

}  // namespace

TEST_F(TulvexConvertTest, ConvertsOnePictureWithTheApplicationsDefaults) {
  const ToolRun run = Tool(source_ + " " + destination_);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1\t" + source_ + "\n");
  Pixels have, want;
  ASSERT_TRUE(DecodeJpegFile(destination_, &have));
  ASSERT_TRUE(ReencodeJpeg(folder_.File("reference"), MakeGradient(32, 24, 3), JpegSettings{}, &want));
  EXPECT_EQ(CompareSamples(have, want, 3), "") << "quality 100, optimised, no smoothing";
}

TEST_F(TulvexConvertTest, PassesOptionsAsTheApplicationWould) {
  Pixels out;
  EXPECT_EQ(Tool("-g " + source_ + " " + destination_).status, 0);
  ASSERT_TRUE(DecodeJpegFile(destination_, &out));
  EXPECT_EQ(out.components, 1) << "-g";

  EXPECT_EQ(Tool("-q 85.9 -s 10 " + source_ + " " + destination_).status, 0);
  Pixels want;
  ASSERT_TRUE(DecodeJpegFile(destination_, &out));
  ASSERT_TRUE(ReencodeJpeg(folder_.File("reference"), MakeGradient(32, 24, 3), JpegSettings{85, true, 10}, &want));
  EXPECT_EQ(CompareSamples(out, want, 3), "") << "85.9 truncates to quality 85";

  const std::string optimised = ReadFileBytes(destination_);
  EXPECT_EQ(Tool("-n -q 85 -s 10 " + source_ + " " + destination_).status, 0);
  EXPECT_GT(ReadFileBytes(destination_).size(), optimised.size()) << "-n writes standard tables";

  // Text that is no number becomes 0, which the command refuses.
  ToolRun run = Tool("-q abc " + source_ + " " + destination_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "-7\t" + source_ + "\n");
  EXPECT_EQ(Tool("-s 101 " + source_ + " " + destination_).out, "-7\t" + source_ + "\n");
}

// --flatten lays a wholly transparent red picture on green; without it the
// stored red is written. --keep-dates carries the source's time over.
TEST_F(TulvexConvertTest, FlattensAndKeepsDatesWhenAsked) {
  const std::string transparent = folder_.File("transparent.png");
  std::vector<uint8_t> red(16 * 16 * 4, 0);
  for (size_t i = 0; i < red.size(); i += 4) red[i] = 255;
  ASSERT_TRUE(WritePngFile(transparent, PngPicture{16, 16, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, red}));
  const struct {
    const char* options;
    uint8_t want[3];
  } cases[] = {{"--flatten 00FF00 ", {0, 255, 0}}, {"", {255, 0, 0}}, {"--flatten 0000ff -g ", {29, 29, 29}}};
  for (const auto& c : cases) {
    ASSERT_EQ(Tool(c.options + transparent + " " + destination_).status, 0) << c.options;
    Pixels have;
    ASSERT_TRUE(DecodeJpegFile(destination_, &have));
    for (int channel = 0; channel < have.components; ++channel)
      EXPECT_NEAR(have.at(8, 8, channel), c.want[channel], 3) << c.options << "channel " << channel;
  }

  const auto old_time = std::filesystem::last_write_time(source_) - std::chrono::hours(24 * 400);
  std::filesystem::last_write_time(source_, old_time);
  ASSERT_EQ(Tool("--keep-dates --strip " + source_ + " " + destination_).status, 0);
  EXPECT_TRUE(std::filesystem::last_write_time(destination_) == old_time);
}

TEST_F(TulvexConvertTest, ConvertsListsFromFilesAndStandardInput) {
  const std::string missing = folder_.File("missing.png");
  const std::string unreadable = folder_.File("text.png");
  ASSERT_TRUE(WriteFileBytes(unreadable, "not a picture"));
  const std::string list = source_ + "\t" + destination_ + "\r\n\n" + missing + "\t" +
                           folder_.File("a.jpg") + "\n" + unreadable + "\t" + folder_.File("b.jpg");
  const std::string want = "1\t" + source_ + "\n-1\t" + missing + "\n-3\t" + unreadable + "\n";
  ASSERT_TRUE(WriteFileBytes(folder_.File("list.txt"), list));
  ToolRun run = Tool("--list " + folder_.File("list.txt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, want);
  run = Tool("--list -", list);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, want);
  run = Tool("-g --list -", source_ + "\t" + destination_ + "\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "1\t" + source_ + "\n");
}

TEST_F(TulvexConvertTest, ParallelListPrintsInListOrderWhateverFinishesFirst) {
  // The first entry takes far longer than the rest, which fail at once or
  // convert a tiny picture: with several jobs they finish before it.
  const std::string large = folder_.File("large.png");
  ASSERT_TRUE(WritePngFile(large, PngPicture{1200, 900, PNG_COLOR_TYPE_RGB, 8, false,
                                             MakeGradient(1200, 900, 3).samples}));
  std::string list = large + "\t" + folder_.File("large.jpg") + "\n";
  std::string want = "1\t" + large + "\n";
  for (int i = 0; i < 12; ++i) {
    const std::string source = i % 3 == 0 ? folder_.File("missing" + std::to_string(i) + ".png") : source_;
    list += source + "\t" + folder_.File(std::to_string(i) + ".jpg") + "\n";
    want += (i % 3 == 0 ? "-1\t" : "1\t") + source + "\n";
  }
  ASSERT_TRUE(WriteFileBytes(folder_.File("list.txt"), list));
  for (const char* jobs : {"-j 1 ", "-j 4 ", ""}) {
    const ToolRun run = Tool(std::string(jobs) + "--list " + folder_.File("list.txt"));
    EXPECT_EQ(run.status, 1) << jobs;
    EXPECT_EQ(run.out, want) << jobs;
    EXPECT_EQ(run.err, "") << jobs;
  }
  Pixels have;
  ASSERT_TRUE(DecodeJpegFile(folder_.File("large.jpg"), &have));
  EXPECT_EQ(have.width, 1200);
  for (int i = 1; i < 12; i += 3) EXPECT_TRUE(DecodeJpegFile(folder_.File(std::to_string(i) + ".jpg"), &have)) << i;

  // Every entry succeeding still exits 0 with several jobs.
  const ToolRun run = Tool("-j 3 --list -", source_ + "\t" + folder_.File("x.jpg") + "\n" + source_ + "\t" +
                                                folder_.File("y.jpg") + "\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "1\t" + source_ + "\n1\t" + source_ + "\n");
}

TEST_F(TulvexConvertTest, UsageErrors) {
  for (const std::string& arguments :
       {std::string(), source_, source_ + " " + destination_ + " extra", "-x " + source_ + " " + destination_,
        source_ + " " + destination_ + " -q", "--list " + folder_.File("list.txt") + " " + source_,
        std::string("-j 0 --list -"), std::string("-j two --list -"), std::string("-j 2x --list -"),
        std::string("--list - -j"), "--flatten 12345 " + source_ + " " + destination_,
        "--flatten 12345g " + source_ + " " + destination_, source_ + " " + destination_ + " --flatten"}) {
    const ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2) << "arguments: " << arguments;
    EXPECT_NE(run.err.find("usage: tulvex-convert"), std::string::npos) << "arguments: " << arguments;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(Tool("--list " + folder_.File("no-list.txt")).status, 2);
  EXPECT_FALSE(FileExists(destination_));
}
