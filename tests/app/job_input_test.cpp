// What reaches the job list from the open-file dialog and from drops.
#include "app/dialog_answer.h"
#include "app/drop_plan.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace tulvex {
namespace {

std::vector<std::string> Parse(const std::string& answer) {
  return PathsOfDialogAnswer(answer.data(), answer.size());
}

TEST(DialogAnswerTest, OneFileSeveralFilesAndCancel) {
  EXPECT_EQ(Parse(std::string("C:\\p\\a.jpg\0\0", 12)), (std::vector<std::string>{"C:\\p\\a.jpg"}));
  EXPECT_EQ(Parse(std::string("C:\\p\0a.jpg\0b.png\0\0", 19)),
            (std::vector<std::string>{"C:\\p\\a.jpg", "C:\\p\\b.png"}));
  EXPECT_EQ(Parse(std::string("C:\\\0a.jpg\0b.png\0\0", 18)),
            (std::vector<std::string>{"C:\\a.jpg", "C:\\b.png"}));
  EXPECT_TRUE(Parse(std::string(16, '\0')).empty());
}

TEST(DialogAnswerTest, ASemicolonInANameKeepsItOneFile) {
  EXPECT_EQ(Parse(std::string("C:\\p\0a;b.jpg\0c.jpg\0\0", 21)),
            (std::vector<std::string>{"C:\\p\\a;b.jpg", "C:\\p\\c.jpg"}));
  EXPECT_EQ(Parse(std::string("C:\\x;y\\one;two.png\0\0", 20)),
            (std::vector<std::string>{"C:\\x;y\\one;two.png"}));
}

TEST(DialogAnswerTest, ThousandsOfNamesFitTheBuffer) {
  std::string answer = "C:\\a folder with pictures";
  answer.push_back('\0');
  constexpr int kFiles = 5000;
  for (int i = 0; i < kFiles; ++i) {
    answer += "holiday picture number " + std::to_string(i) + ".jpg";
    answer.push_back('\0');
  }
  answer.push_back('\0');
  ASSERT_LT(answer.size(), kDialogAnswerBytes);  // 8192 bytes would hold about 200
  std::string buffer = answer;
  buffer.resize(kDialogAnswerBytes, '\0');
  const std::vector<std::string> paths = PathsOfDialogAnswer(buffer.data(), buffer.size());
  ASSERT_EQ(paths.size(), static_cast<size_t>(kFiles));
  EXPECT_EQ(paths.back(), "C:\\a folder with pictures\\holiday picture number 4999.jpg");
}

TEST(DialogAnswerTest, AnAnswerWithoutItsEndStopsAtTheBuffer) {
  const std::string cut("C:\\p\0a.jpg\0bb", 13);  // no closing NULs
  EXPECT_EQ(PathsOfDialogAnswer(cut.data(), cut.size()), (std::vector<std::string>{"C:\\p\\a.jpg", "C:\\p\\bb"}));
}

TEST(DropPlanTest, FilesBecomeRowsFoldersScansAndARunRefusesAll) {
  ScratchFolder scratch("drop");
  ASSERT_TRUE(WriteFileBytes(scratch.File("one.png"), "x"));
  ASSERT_TRUE(CreateDirectoryA(scratch.File("pictures").c_str(), nullptr));
  const std::vector<std::string> dropped = {scratch.File("one.png"), scratch.File("pictures")};

  DropPlan plan;
  ASSERT_TRUE(PlanDrop(dropped, false, &plan));
  EXPECT_EQ(plan.files, (std::vector<std::string>{scratch.File("one.png")}));
  EXPECT_EQ(plan.folders, (std::vector<std::string>{scratch.File("pictures")}));

  DropPlan refused;
  EXPECT_FALSE(PlanDrop(dropped, true, &refused));
  EXPECT_TRUE(refused.files.empty());
  EXPECT_TRUE(refused.folders.empty());
}

}  // namespace
}  // namespace tulvex
