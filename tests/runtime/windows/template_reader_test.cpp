// The window template reader against data written by the template compiler
// (reader_window.tvw) and against every truncation and random damage of it.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "runtime/windows/templates/byte_cursor.h"
#include "runtime/windows/templates/template_data.h"
#include "runtime/windows/templates/template_reader.h"

extern "C" const uint8_t ReaderTestTemplates[];
extern "C" const uint32_t ReaderTestTemplatesSize;

extern "C" int32_t ReaderHandlerCreated(int32_t, const Value*) { return 1; }
extern "C" int32_t ReaderHandlerRightClicked(int32_t, const Value*) { return 2; }

namespace {

std::vector<uint8_t> CompiledTemplates() {
  return std::vector<uint8_t>(ReaderTestTemplates, ReaderTestTemplates + ReaderTestTemplatesSize);
}

bool Read(const std::vector<uint8_t>& data, std::vector<WindowTemplate>* windows) {
  return ReadWindowTemplates(data.data(), data.size(), ProgramCodeBase(), windows);
}

// The little-endian writer the damaged cases are built with.
struct Writer {
  std::vector<uint8_t> bytes;
  Writer& U32(uint32_t word) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(word >> (8 * i)));
    return *this;
  }
  Writer& Text(const std::string& text) {
    U32(static_cast<uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  Writer& Header(uint32_t windows) {
    bytes.insert(bytes.end(), {'T', 'V', 'W', 'T'});
    return U32(1).U32(windows);
  }
  Writer& Window(uint32_t id, uint32_t controls) {
    U32(id).Text("w").Text("c").U32(0).U32(0).U32(100).U32(100).Text("").U32(0).U32(0);
    return U32(controls);
  }
  Writer& Control(uint32_t id, uint32_t parent) {
    return Text("按钮").U32(id).U32(parent).Text("n").Text("c").U32(0).U32(0).U32(10).U32(10).U32(1).U32(0);
  }
  Writer& Binding(uint32_t control, int32_t event, int32_t offset) {
    return U32(control).U32(static_cast<uint32_t>(event)).U32(static_cast<uint32_t>(offset));
  }
};

TEST(TemplateReader, ReadsWhatTheCompilerWrote) {
  std::vector<WindowTemplate> windows;
  ASSERT_TRUE(Read(CompiledTemplates(), &windows));
  ASSERT_EQ(windows.size(), 2u);

  const WindowTemplate& main = windows[0];
  EXPECT_EQ(main.id, 0x52010001u);
  EXPECT_EQ(main.name, "主窗口");
  EXPECT_EQ(main.caption, "读取测试");
  EXPECT_EQ(main.rect.left, 50);
  EXPECT_EQ(main.rect.top, 60);
  EXPECT_EQ(main.rect.width, 1000);
  EXPECT_EQ(main.rect.height, 600);
  EXPECT_EQ(main.font.face, "微软雅黑");
  EXPECT_EQ(main.font.points, 9);
  EXPECT_EQ(main.font.flags, static_cast<uint32_t>(kFontBold));

  ASSERT_EQ(main.controls.size(), 3u);
  const ControlTemplate& list = main.controls[0];
  EXPECT_EQ(list.type_name, "超级列表框");
  EXPECT_EQ(list.id, 5u);
  EXPECT_EQ(list.flags, static_cast<uint32_t>(kControlVisible));
  // u32 1, i32 -1, u8 255, u16 0x1234, block{u8 0, text}, string "ab", bytes.
  std::vector<uint8_t> expected = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x34, 0x12};
  const std::string number = "编号";
  expected.insert(expected.end(), {static_cast<uint8_t>(1 + number.size() + 1), 0, 0, 0});  // block length
  expected.push_back(0);
  expected.insert(expected.end(), number.begin(), number.end());
  expected.push_back(0);
  expected.insert(expected.end(), {2, 0, 0, 0, 'a', 'b', 0x00, 0x7F, 0xFF});
  EXPECT_EQ(list.properties, expected);

  const ControlTemplate& item = main.controls[2];
  EXPECT_EQ(item.parent_id, 10u);
  EXPECT_EQ(item.caption, "添加图片");
  EXPECT_EQ(item.flags, static_cast<uint32_t>(kControlVisible | kControlDisabled));
  EXPECT_EQ(main.controls[1].flags, 0u) << "the menu is hidden";

  // Offsets relocated against the code base; -1 is no handler.
  EXPECT_EQ(main.FindHandler(0, 0), &ReaderHandlerCreated);
  EXPECT_EQ(main.FindHandler(0, 1), nullptr);
  EXPECT_EQ(main.FindHandler(5, 5), &ReaderHandlerRightClicked);
  EXPECT_EQ(main.FindHandler(11, 0), &ReaderHandlerCreated);
  EXPECT_EQ(main.FindHandler(5, 0), nullptr);

  EXPECT_EQ(windows[1].id, 7u);
  EXPECT_TRUE(windows[1].caption.empty());
  EXPECT_TRUE(windows[1].controls.empty());
  EXPECT_TRUE(windows[1].font.face.empty());
}

TEST(TemplateReader, RefusesEveryTruncation) {
  const std::vector<uint8_t> data = CompiledTemplates();
  for (size_t size = 0; size < data.size(); ++size) {
    // A copy of exactly `size` bytes, so that a read past it would leave the
    // block (and fail under a checking heap).
    const std::vector<uint8_t> cut(data.begin(), data.begin() + static_cast<ptrdiff_t>(size));
    std::vector<WindowTemplate> windows;
    EXPECT_FALSE(Read(cut, &windows)) << "have success for " << size << " of " << data.size() << " bytes";
    EXPECT_TRUE(windows.empty());
  }
}

TEST(TemplateReader, RefusesTrailingBytesAndWrongHeaders) {
  std::vector<WindowTemplate> windows;
  std::vector<uint8_t> longer = CompiledTemplates();
  longer.push_back(0);
  EXPECT_FALSE(Read(longer, &windows));

  std::vector<uint8_t> magic = CompiledTemplates();
  magic[0] = 'X';
  EXPECT_FALSE(Read(magic, &windows));

  std::vector<uint8_t> version = CompiledTemplates();
  version[4] = 2;
  EXPECT_FALSE(Read(version, &windows));
  EXPECT_FALSE(ReadWindowTemplates(nullptr, 100, 0, &windows));
}

TEST(TemplateReader, ChecksIdentifiersAndReferences) {
  struct Case {
    const char* what;
    Writer data;
    bool valid;
  };
  std::vector<Case> cases;
  cases.push_back({"a sound window", Writer().Header(1).Window(9, 2).Control(1, 0).Control(2, 1).U32(1).Binding(2, 0, -1), true});
  cases.push_back({"window id 0", Writer().Header(1).Window(0, 0).U32(0), false});
  cases.push_back({"two windows of one id", Writer().Header(2).Window(9, 0).U32(0).Window(9, 0).U32(0), false});
  cases.push_back({"control id 0", Writer().Header(1).Window(9, 1).Control(0, 0).U32(0), false});
  cases.push_back({"control id above 0xFFFF", Writer().Header(1).Window(9, 1).Control(0x10000, 0).U32(0), false});
  cases.push_back({"duplicate control id", Writer().Header(1).Window(9, 2).Control(1, 0).Control(1, 0).U32(0), false});
  cases.push_back({"parent named before it exists", Writer().Header(1).Window(9, 2).Control(1, 2).Control(2, 0).U32(0), false});
  cases.push_back({"binding to no control", Writer().Header(1).Window(9, 1).Control(1, 0).U32(1).Binding(3, 0, -1), false});
  cases.push_back({"huge window count", Writer().Header(0xFFFFFFFF).Window(9, 0).U32(0), false});
  cases.push_back({"huge control count", Writer().Header(1).Window(9, 0x7FFFFFFF).U32(0), false});
  cases.push_back({"huge binding count", Writer().Header(1).Window(9, 0).U32(0x40000000), false});
  for (const Case& test : cases) {
    std::vector<WindowTemplate> windows;
    EXPECT_EQ(Read(test.data.bytes, &windows), test.valid) << test.what;
  }

  // A text that claims more bytes than are left, and one holding a NUL.
  Writer long_text;
  long_text.Header(1).U32(9).U32(0x7FFFFFF0);
  std::vector<WindowTemplate> windows;
  EXPECT_FALSE(Read(long_text.bytes, &windows));
  Writer nul_text;
  nul_text.Header(1).U32(9).Text(std::string("a\0b", 3)).Text("c").U32(0).U32(0).U32(1).U32(1).Text("").U32(0).U32(0).U32(0).U32(0);
  EXPECT_FALSE(Read(nul_text.bytes, &windows));
}

TEST(TemplateReader, SurvivesRandomDamage) {
  const std::vector<uint8_t> data = CompiledTemplates();
  std::mt19937 random(20240611);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> damaged = data;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
    std::vector<WindowTemplate> windows;
    if (!Read(damaged, &windows)) continue;
    ++accepted;
    // Whatever is accepted keeps the promises the loader relies on.
    std::set<uint32_t> window_ids;
    for (const WindowTemplate& window : windows) {
      ASSERT_NE(window.id, 0u);
      ASSERT_TRUE(window_ids.insert(window.id).second);
      std::set<uint32_t> ids;
      for (const ControlTemplate& control : window.controls) {
        ASSERT_TRUE(control.id >= 1 && control.id <= kMaxControlId) << control.id;
        ASSERT_TRUE(control.parent_id == 0 || ids.count(control.parent_id));
        ASSERT_TRUE(ids.insert(control.id).second);
        ASSERT_GE(control.rect.width, 0);
      }
      for (const EventBinding& binding : window.bindings) {
        ASSERT_TRUE(binding.control_id == 0 || ids.count(binding.control_id));
      }
    }
  }
  // Damage in captions or property bytes is still well-formed data.
  EXPECT_GT(accepted, 0);
}

TEST(ByteCursor, FailsCleanlyAndStaysFailed) {
  const uint8_t bytes[] = {1, 0, 0, 0, 'a', 'b'};
  ByteCursor cursor(bytes, sizeof bytes);
  EXPECT_EQ(cursor.U32(), 1u);
  EXPECT_EQ(cursor.ZeroTerminated(), "") << "no NUL before the end";
  EXPECT_FALSE(cursor.ok());
  EXPECT_EQ(cursor.U8(), 0u);
  EXPECT_EQ(cursor.left(), 0u);

  const uint8_t counted[] = {3, 0, 0, 0, 1, 2};
  ByteCursor count_cursor(counted, sizeof counted);
  EXPECT_FALSE(count_cursor.CountFits(count_cursor.U32(), 1)) << "3 one-byte records in 2 bytes";

  const uint8_t text[] = {2, 0, 0, 0, 'o', 'k', 'x', 0};
  ByteCursor text_cursor(text, sizeof text);
  EXPECT_EQ(text_cursor.Text(), "ok");
  EXPECT_EQ(text_cursor.ZeroTerminated(), "x");
  EXPECT_TRUE(text_cursor.AtEnd());
}

}  // namespace
