// The stored property records of the button group, the hyperlink's target
// and browser command line, and the grayed picture, tested in process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/button_pictures.h"
#include "controls/hyperlink.h"
#include "controls/hyperlink_opening.h"
#include "controls/popup_menu_component.h"
#include "controls/super_button.h"
#include "controls/transparent_label.h"

namespace {

// Builds a record field by field, as the template compiler writes it.
class Record {
 public:
  Record& U32(uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(word >> shift));
    return *this;
  }
  Record& Block(const std::vector<uint8_t>& block) {
    U32(static_cast<uint32_t>(block.size()));
    bytes_.insert(bytes_.end(), block.begin(), block.end());
    return *this;
  }
  Record& String(const std::string& text) { return Block(std::vector<uint8_t>(text.begin(), text.end())); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// A whole button record of `version`: raised, check box, picture right,
// own colours, a tool tip, the default role.
Record ButtonRecord(uint32_t version) {
  Record record;
  record.U32(version).U32(1).U32(1).U32(1).U32(2).U32(1).U32(0).U32(1);
  record.Block({0x42, 0x4D}).U32(0x00FF00FF).Block({}).U32(0xFF000000).Block(std::vector<uint8_t>(60, 0));
  record.U32(0);
  for (uint32_t color = 1; color <= 6; ++color) record.U32(color * 0x10);
  record.U32(1).Block({1, 2, 3}).Block({}).String("提示").U32(1);
  if (version == 2) record.U32(0x00123456).Block({9, 9});
  return record;
}

bool ReadButton(const Record& record, SuperButtonRecord* button) {
  return ReadSuperButtonRecord(record.bytes().data(), record.bytes().size(), button);
}

TEST(SuperButtonRecord, VersionsZeroToTwoAreReadField_by_field) {
  for (uint32_t version : {0u, 1u, 2u}) {
    SCOPED_TRACE(version);
    SuperButtonRecord button;
    ASSERT_TRUE(ReadButton(ButtonRecord(version), &button));
    EXPECT_EQ(button.style, ButtonStyle::kRaised);
    EXPECT_TRUE(button.check_box && button.checked);
    EXPECT_EQ(button.align, PictureAlign::kRight);
    EXPECT_EQ(button.press_style, 1u);
    EXPECT_FALSE(button.draw_border);
    EXPECT_TRUE(button.draw_focus);
    EXPECT_EQ(button.picture_out, (std::vector<uint8_t>{0x42, 0x4D}));
    EXPECT_EQ(button.transparent_out, 0x00FF00FFu);
    EXPECT_TRUE(button.picture_in.empty());
    EXPECT_EQ(button.font.size(), 60u);
    EXPECT_FALSE(button.default_colors);
    EXPECT_EQ(button.colors[kFgOut], 0x10u);
    EXPECT_EQ(button.colors[kBkFocus], 0x60u);
    EXPECT_TRUE(button.standard_sound);
    EXPECT_EQ(button.over_sound, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(button.tool_tip, "提示");
    EXPECT_TRUE(button.default_button);
    // Only version 2 stores the disabled picture and its colour.
    EXPECT_EQ(button.transparent_disabled, version == 2 ? 0x00123456u : 0xFF000000u);
    EXPECT_EQ(button.picture_disabled.size(), version == 2 ? 2u : 0u);
  }
}

TEST(SuperButtonRecord, DamagedRecordsAreRefused) {
  SuperButtonRecord button;
  EXPECT_FALSE(ReadButton(ButtonRecord(3), &button)) << "version 3";
  Record version_only;
  version_only.U32(0);
  EXPECT_FALSE(ReadButton(version_only, &button)) << "fields missing";

  // A block whose count runs past the end, and bytes left over.
  Record truncated;
  truncated.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(1).U32(1).U32(1000).U32(0);
  EXPECT_FALSE(ReadButton(truncated, &button)) << "picture block past the end";
  Record longer = ButtonRecord(1);
  longer.U32(0);
  EXPECT_FALSE(ReadButton(longer, &button)) << "bytes after the last field";
  std::vector<uint8_t> cut = ButtonRecord(2).bytes();
  cut.pop_back();
  EXPECT_FALSE(ReadSuperButtonRecord(cut.data(), cut.size(), &button)) << "version 2 missing its last byte";

  Record bad_style = ButtonRecord(0);
  std::vector<uint8_t> bytes = bad_style.bytes();
  bytes[4] = 3;  // BtnStyle 3 does not exist
  EXPECT_FALSE(ReadSuperButtonRecord(bytes.data(), bytes.size(), &button)) << "style out of range";
}

TEST(SuperButtonRecord, AnEmptyRecordGivesTheDefaults) {
  SuperButtonRecord button;
  button.checked = true;
  ASSERT_TRUE(ReadSuperButtonRecord(nullptr, 0, &button));
  EXPECT_FALSE(button.checked);
  EXPECT_TRUE(button.default_colors);
  EXPECT_EQ(button.transparent_out, 0xFF000000u);
  EXPECT_FALSE(button.default_button);
}

Record LinkRecord(uint32_t version, int32_t link_type, int32_t border) {
  Record record;
  record.U32(version).U32(static_cast<uint32_t>(link_type)).U32(0x0000FF).U32(0x800000).U32(0x00FF00);
  record.U32(0xFF000000).U32(static_cast<uint32_t>(border)).Block({}).String("").String("a@b.c").String("http://x/");
  return record;
}

TEST(HyperlinkRecord, FieldsAreReadAndChoicesClamped) {
  HyperlinkRecord link;
  const Record record = LinkRecord(1, 7, 9);
  ASSERT_TRUE(ReadHyperlinkRecord(record.bytes().data(), record.bytes().size(), &link));
  EXPECT_EQ(link.link_type, LinkType::kWeb) << "7 counts as 1";
  EXPECT_EQ(link.border, 5u) << "9 counts as 5";
  EXPECT_EQ(link.normal_color, 0x0000FFu);
  EXPECT_EQ(link.email, "a@b.c");
  EXPECT_EQ(link.web, "http://x/");

  const Record negative = LinkRecord(0, -4, -1);
  ASSERT_TRUE(ReadHyperlinkRecord(negative.bytes().data(), negative.bytes().size(), &link));
  EXPECT_EQ(link.link_type, LinkType::kEmail);
  EXPECT_EQ(link.border, 0u);

  const Record newer = LinkRecord(2, 1, 0);
  EXPECT_FALSE(ReadHyperlinkRecord(newer.bytes().data(), newer.bytes().size(), &link));
  std::vector<uint8_t> cut = LinkRecord(1, 1, 0).bytes();
  cut.resize(cut.size() - 3);
  EXPECT_FALSE(ReadHyperlinkRecord(cut.data(), cut.size(), &link)) << "web address cut short";

  ASSERT_TRUE(ReadHyperlinkRecord(nullptr, 0, &link));
  EXPECT_EQ(link.normal_color, 0xFF0000u) << "blue by default";
  EXPECT_EQ(link.visited_color, 0x000080u);
  EXPECT_EQ(link.hover_color, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(link.back_color, 0xFF000000u);
}

TEST(HyperlinkTarget, WebAddressOrMailto) {
  EXPECT_EQ(HyperlinkTarget(LinkType::kWeb, "a@b.c", "http://x/"), "http://x/");
  EXPECT_EQ(HyperlinkTarget(LinkType::kEmail, "a@b.c", "http://x/"), "mailto:a@b.c");
  EXPECT_EQ(HyperlinkTarget(LinkType::kEmail, "", "http://x/"), "") << "no address: nothing to open";
  EXPECT_EQ(HyperlinkTarget(LinkType::kWeb, "a@b.c", ""), "");
  EXPECT_FALSE(OpenHyperlinkTarget("")) << "an empty target is a failure";
}

TEST(BrowserCommandLine, CutAtThePlaceholderThenTheTarget) {
  struct Case {
    const char* registered;
    const char* want;
  };
  const Case cases[] = {
      // Quoted placeholder: cut at its opening quote, the rest dropped.
      {"\"C:\\Browser\\browser.exe\" -nohome \"%1\" -extra", "\"C:\\Browser\\browser.exe\" -nohome  http://x/"},
      {"\"C:\\b.exe\" \"%1\"", "\"C:\\b.exe\"  http://x/"},
      // Bare placeholder.
      {"C:\\b.exe %1 --new", "C:\\b.exe  http://x/"},
      {"C:\\b.exe -url=%1", "C:\\b.exe -url= http://x/"},
      // A quoted placeholder wins over an earlier bare one.
      {"b.exe %1 \"%1\"", "b.exe %1  http://x/"},
      // No placeholder: the command is kept whole.
      {"C:\\b.exe -new", "C:\\b.exe -new http://x/"},
      {"", " http://x/"},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(BrowserCommandLine(test.registered, "http://x/"), test.want) << "registered: " << test.registered;
  }
}

// A classes root of the test's own under HKEY_CURRENT_USER, removed at the end.
class TestClassesRoot {
 public:
  TestClassesRoot() {
    Remove();
    created_ = RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_, nullptr) ==
               ERROR_SUCCESS;
  }
  ~TestClassesRoot() {
    if (created_) RegCloseKey(root_);
    Remove();
  }
  bool created() const { return created_; }
  HKEY root() const { return root_; }
  bool SetDefault(const char* subkey, const std::string& value) {
    return RegSetValueA(root_, subkey, REG_SZ, value.c_str(), static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
  }

 private:
  static constexpr const char* kPath = "Software\\TulvexButtonTests";
  // The keys the tests make, innermost first.
  static void Remove() {
    for (const char* key : {"Software\\TulvexButtonTests\\TestPage\\shell\\open\\command",
                            "Software\\TulvexButtonTests\\TestPage\\shell\\open",
                            "Software\\TulvexButtonTests\\TestPage\\shell", "Software\\TulvexButtonTests\\TestPage",
                            "Software\\TulvexButtonTests\\.htm", kPath}) {
      RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }
  }
  HKEY root_ = nullptr;
  bool created_ = false;
};

TEST(BrowserCommandLine, RegisteredCommandOfTheHtmlClass) {
  TestClassesRoot classes;
  ASSERT_TRUE(classes.created());
  std::string command;
  EXPECT_FALSE(RegisteredBrowserCommand(classes.root(), &command)) << "no .htm class";
  ASSERT_TRUE(classes.SetDefault(".htm", "TestPage"));
  EXPECT_FALSE(RegisteredBrowserCommand(classes.root(), &command)) << "class without an open command";

  const std::string registered = "\"C:\\Browser\\b.exe\" \"%1\"";
  ASSERT_TRUE(classes.SetDefault("TestPage\\shell\\open\\command", registered));
  ASSERT_TRUE(RegisteredBrowserCommand(classes.root(), &command));
  EXPECT_EQ(command, registered);
  EXPECT_EQ(BrowserCommandLine(command, "mailto:a@b.c"), "\"C:\\Browser\\b.exe\"  mailto:a@b.c");

  // 260 bytes are read; a longer command is not run cut short.
  ASSERT_TRUE(classes.SetDefault("TestPage\\shell\\open\\command", std::string(260, 'a')));
  EXPECT_TRUE(RegisteredBrowserCommand(classes.root(), &command));
  EXPECT_EQ(command.size(), 260u);
  ASSERT_TRUE(classes.SetDefault("TestPage\\shell\\open\\command", std::string(261, 'a')));
  EXPECT_FALSE(RegisteredBrowserCommand(classes.root(), &command)) << "261 bytes";
}

TEST(OtherRecords, LabelAndMenuComponent) {
  TransparentLabelRecord label;
  Record label_record;
  label_record.U32(0).U32(0x00FF0000).U32(2).Block(std::vector<uint8_t>(60, 1));
  ASSERT_TRUE(ReadTransparentLabelRecord(label_record.bytes().data(), label_record.bytes().size(), &label));
  EXPECT_EQ(label.text_color, 0x00FF0000u);
  EXPECT_EQ(label.alignment, 2u);
  EXPECT_EQ(label.font.size(), 60u);
  Record bad_alignment;
  bad_alignment.U32(0).U32(0).U32(3).Block({});
  EXPECT_FALSE(ReadTransparentLabelRecord(bad_alignment.bytes().data(), bad_alignment.bytes().size(), &label));
  Record newer_label;
  newer_label.U32(1).U32(0).U32(0).Block({});
  EXPECT_FALSE(ReadTransparentLabelRecord(newer_label.bytes().data(), newer_label.bytes().size(), &label));

  PopupMenuRecord menu;
  Record menu_record;
  menu_record.U32(0).U32(1).U32(2).U32(3).U32(4).U32(5).U32(22).Block({});
  ASSERT_TRUE(ReadPopupMenuRecord(menu_record.bytes().data(), menu_record.bytes().size(), &menu));
  EXPECT_EQ(menu.colors[kMenuBack], 2u);
  EXPECT_EQ(menu.colors[kMenuSeparator], 5u);
  EXPECT_EQ(menu.item_height, 22u);
  Record menu_cut;
  menu_cut.U32(0).U32(1).U32(2).U32(3).U32(4).U32(5).U32(22).U32(60);
  EXPECT_FALSE(ReadPopupMenuRecord(menu_cut.bytes().data(), menu_cut.bytes().size(), &menu)) << "font past the end";
}

TEST(DisabledPicture, GrayedButTheTransparentColourKept) {
  const COLORREF magenta = RGB(255, 0, 255);
  // 0x00RRGGBB pixels: magenta (transparent), black, white, pure red.
  std::vector<uint32_t> pixels = {0xFF00FF, 0x000000, 0xFFFFFF, 0xFF0000};
  GrayOutPixels(pixels.data(), pixels.size(), magenta);
  EXPECT_EQ(pixels[0], 0xFF00FFu) << "the transparent colour stays";
  for (size_t i = 1; i < pixels.size(); ++i) {
    const uint32_t red = pixels[i] >> 16 & 0xFF, green = pixels[i] >> 8 & 0xFF, blue = pixels[i] & 0xFF;
    EXPECT_TRUE(red == green && green == blue) << "pixel " << i << " is gray";
    EXPECT_GE(red, 128u) << "pixel " << i << " is light";
  }
  EXPECT_LT(pixels[1], pixels[3]) << "darker stays darker";
  EXPECT_LT(pixels[3], pixels[2]);

  // A gray that would equal the transparent colour is moved off it:
  // 0x909090 grays to 128 + 144 / 2 = 200, the transparent 0xC8C8C8.
  std::vector<uint32_t> collision = {0x909090};
  GrayOutPixels(collision.data(), 1, RGB(200, 200, 200));
  EXPECT_NE(collision[0], 0xC8C8C8u) << "the grayed pixel would vanish";
  EXPECT_EQ(collision[0] & 0xFF, collision[0] >> 16 & 0xFF) << "still gray";
}

TEST(DisabledPicture, MadeFromABitmapWithTheSameSize) {
  const HDC screen = GetDC(nullptr);
  const HBITMAP source = CreateCompatibleBitmap(screen, 5, 3);
  ReleaseDC(nullptr, screen);
  ASSERT_NE(source, nullptr);
  const HBITMAP grayed = MakeDisabledPicture(source, RGB(255, 0, 255));
  ASSERT_NE(grayed, nullptr);
  EXPECT_EQ(PictureSize(grayed).cx, 5);
  EXPECT_EQ(PictureSize(grayed).cy, 3);
  EXPECT_EQ(TransparentColorOf(source, 0x00ABCDEF), 0x00ABCDEFu) << "a stored colour is used as it is";
  EXPECT_EQ(TransparentColorOf(source, 0xFF000000), RGB(0, 0, 0)) << "the default is the top-left pixel";
  DeleteObject(grayed);
  DeleteObject(source);
}

}  // namespace
