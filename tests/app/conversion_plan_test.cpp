// Destinations, status texts, save modes and progress positions of a run.
#include "app/conversion_plan.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/gbk_path.h"
#include "imaging/convert_command.h"

namespace tulvex {
namespace {

TEST(ConversionPlanTest, DestinationsByMode) {
  EXPECT_EQ(DestinationOf(SaveMode::kOverwrite, "D:\\out", 1, "C:\\p\\a.bmp"), "C:\\p\\a.bmp");
  EXPECT_EQ(DestinationOf(SaveMode::kSaveInFolder, "D:\\out", 3, "C:\\pics\\cat.png"), "D:\\out\\3_cat.jpg");
  // The base name ends at the first dot; a name without one is kept whole.
  EXPECT_EQ(DestinationOf(SaveMode::kSaveInFolder, "D:\\out", 2, "C:\\p\\x.y.gif"), "D:\\out\\2_x.jpg");
  EXPECT_EQ(DestinationOf(SaveMode::kSaveInFolder, "D:\\out", 1, "C:\\p\\photo"), "D:\\out\\1_photo.jpg");
  // One separator is always inserted, even after a trailing one or none.
  EXPECT_EQ(DestinationOf(SaveMode::kSaveInFolder, "D:\\out\\", 4, "a.png"), "D:\\out\\\\4_a.jpg");
  EXPECT_EQ(DestinationOf(SaveMode::kSaveInFolder, "", 5, "C:\\p\\b.png"), "\\5_b.jpg");
  // A dot in a folder name is not the file's.
  EXPECT_EQ(DestinationOf(SaveMode::kSaveInFolder, "D:\\o", 6, "C:\\v1.2\\pic"), "D:\\o\\6_pic.jpg");
}

TEST(ConversionPlanTest, DoubleByteNamesSplitOnlyAtRealSeparators) {
  // 0x81 0x5C is one GBK character whose second byte looks like "\".
  const std::string name = "\x81\x5C" "a.png";
  const std::string source = "C:\\\xC4\xBF\xC2\xBC\\" + name;
  EXPECT_EQ(FileNameOf(source), name);
  EXPECT_EQ(FolderOf(source), "C:\\\xC4\xBF\xC2\xBC");
  EXPECT_EQ(DestinationOf(SaveMode::kSaveInFolder, "D:\\out", 1, source), "D:\\out\\1_\x81\x5C" "a.jpg");
  // Case folding leaves double-byte characters alone: 0x81 0x41 and
  // 0x81 0x61 are different characters.
  EXPECT_NE(FoldedPath("\x81\x41"), FoldedPath("\x81\x61"));
  EXPECT_EQ(FoldedPath("C:\\Pics/A.PNG"), FoldedPath("c:\\pics\\a.png"));
}

// The texts themselves are checked where a run writes them (the end-to-end
// tests); here: every code the engine gives has a text of its own, and other
// numbers have none.
TEST(ConversionPlanTest, EveryEngineCodeHasAStatusTextOfItsOwn) {
  std::set<std::string> texts;
  for (const int32_t code : {kConvertSucceeded, kConvertUnknownError, kConvertSourceMissing, kConvertNoResources,
                             kConvertUnreadable, kConvertEncodeFailed, kConvertNoEncodeResources,
                             kConvertBadArguments, kConvertCancelled}) {
    const char* text = StatusTextOf(code);
    ASSERT_NE(text, nullptr) << "code " << code;
    EXPECT_STRNE(text, "") << "code " << code;
    EXPECT_TRUE(texts.insert(text).second) << "code " << code << " shares \"" << text << "\"";
  }
  for (int32_t code : {-5, -9, 2, 100}) EXPECT_EQ(StatusTextOf(code), nullptr) << "code " << code;
}

TEST(ConversionPlanTest, SaveModesFromComboAndSettings) {
  EXPECT_EQ(SaveModeOfChoice(kOverwriteChoice), SaveMode::kOverwrite);
  EXPECT_EQ(SaveModeOfChoice(kSaveInFolderChoice), SaveMode::kSaveInFolder);
  EXPECT_EQ(SaveModeOfChoice("覆盖原图 "), SaveMode::kSaveInFolder);  // exact bytes only
  EXPECT_STREQ(SettingsValueOf(SaveMode::kOverwrite), "a");
  EXPECT_STREQ(SettingsValueOf(SaveMode::kSaveInFolder), "b");
  EXPECT_EQ(SaveModeOfSettingsValue("a"), SaveMode::kOverwrite);
  for (const char* other : {"b", "", "A", "x"}) {
    EXPECT_EQ(SaveModeOfSettingsValue(other), SaveMode::kSaveInFolder) << "value \"" << other << "\"";
  }
}

TEST(ConversionPlanTest, ProgressPositionsCutTowardZero) {
  EXPECT_EQ(ProgressPositionOf(1, 3), 3333);
  EXPECT_EQ(ProgressPositionOf(2, 3), 6666);
  EXPECT_EQ(ProgressPositionOf(3, 3), 10000);
  EXPECT_EQ(ProgressPositionOf(1, 7), 1428);
  EXPECT_EQ(ProgressPositionOf(0, 5), 0);
  EXPECT_EQ(ProgressPositionOf(0, 0), 0);
}

}  // namespace
}  // namespace tulvex
