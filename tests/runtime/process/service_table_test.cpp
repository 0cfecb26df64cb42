// The service table: all thirteen slots filled, the command-call frame, the
// memory slots, the routines of slot 12 (file search, writable arrays) and
// DLL command resolution, through the surface the application uses.
#include "runtime/process/service_table.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "runtime/core_commands.h"
#include "runtime/process/dll_commands.h"
#include "runtime/process/file_search.h"
#include "runtime/values/memory.h"
#include "runtime/service_calls.h"
#include "tests/support/scratch_folder.h"

namespace {

TEST(ServiceTable, EverySlotIsFilled) {
  const auto* slots = reinterpret_cast<void* const*>(&Services());
  for (int slot = 0; slot < 13; ++slot) EXPECT_NE(slots[slot], nullptr) << "slot " << slot;
}

// What the probe command saw of its frame.
struct FrameSeen {
  Value result_on_entry;
  int32_t count;
  Value args[3];
};
FrameSeen g_seen;

void ProbeCommand(Value* result, int32_t count, const Value* args) {
  g_seen.result_on_entry = *result;
  g_seen.count = count;
  for (int32_t i = 0; i < count && i < 3; ++i) g_seen.args[i] = args[i];
  *result = MakeLong(0x123456789LL);
}

TEST(ServiceTable, CommandFrameZeroesTheResultAndPassesArgumentsInOrder) {
  for (auto slot : {Services().call_core_command, Services().call_library_command}) {
    g_seen = FrameSeen{};
    const Value args[] = {MakeInteger(7), OmittedArgument(), LendText("x")};
    const Value result = slot(ProbeCommand, 3, args);
    EXPECT_EQ(g_seen.result_on_entry.word0 | g_seen.result_on_entry.word1 | g_seen.result_on_entry.tag, 0u);
    EXPECT_EQ(g_seen.count, 3);
    EXPECT_EQ(g_seen.args[0].word0, 7u);
    EXPECT_EQ(g_seen.args[1].tag, 0u) << "an omitted argument arrives with tag 0";
    EXPECT_EQ(g_seen.args[1].word0 | g_seen.args[1].word1, 0u);
    EXPECT_STREQ(TextOf(g_seen.args[2]), "x");
    EXPECT_EQ(result.word0, 0x23456789u);
    EXPECT_EQ(result.word1, 0x1u);
    EXPECT_EQ(result.tag, kTagLong);
  }
}

TEST(ServiceCalls, CallMakeTextAndOwnedValues) {
  services::OwnedValue text = services::MakeText("图片.bmp");
  EXPECT_STREQ(text.text(), "图片.bmp");
  EXPECT_EQ(PointerOf(services::MakeText("").get()), nullptr) << "the empty text is null";
  services::OwnedValue left(services::Call(LeftOfText, {text.get(), MakeInteger(4)}));
  EXPECT_STREQ(left.text(), "图片");
  EXPECT_EQ(services::ReadInteger(MakeFloat(99.9)), 99);

  services::OwnedValue moved = std::move(left);
  EXPECT_STREQ(moved.text(), "图片");
  EXPECT_EQ(PointerOf(left.get()), nullptr);
  const Value kept = moved.release();
  EXPECT_EQ(PointerOf(moved.get()), nullptr);
  EXPECT_STREQ(TextOf(kept), "图片");
  Services().free(PointerOf(kept));

  // Releasing a split result frees its part texts, then the array block.
  services::OwnedValue parts(services::Call(SplitText, {LendText("a,b"), OmittedArgument(), OmittedArgument()}));
  EXPECT_EQ(parts.get().tag, kTagText | kArrayTagFlag);
}

TEST(ServiceCalls, MakeArrayWritableThroughRoutineTwo) {
  static const uint32_t constant_array[] = {1, 2, 5, 6};
  InitialiseMemory(constant_array, sizeof constant_array);
  void* array = const_cast<uint32_t*>(constant_array);
  services::MakeArrayWritable(&array, 4);
  EXPECT_FALSE(IsConstantData(array));
  EXPECT_EQ(std::memcmp(array, constant_array, sizeof constant_array), 0);
  Services().free(array);
  InitialiseMemory(nullptr, 0);
}

TEST(FileSearch, AttributeRules) {
  EXPECT_TRUE(SearchAccepts(FILE_ATTRIBUTE_ARCHIVE, 0, true));
  EXPECT_TRUE(SearchAccepts(FILE_ATTRIBUTE_NORMAL, 0, true));
  EXPECT_FALSE(SearchAccepts(FILE_ATTRIBUTE_DIRECTORY, 0xFF, true));
  EXPECT_TRUE(SearchAccepts(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 0x20, false));
  EXPECT_FALSE(SearchAccepts(FILE_ATTRIBUTE_READONLY, 0x20, false));
  EXPECT_TRUE(SearchAccepts(FILE_ATTRIBUTE_DIRECTORY, 0x10, false));
  // Bits outside 0x37 do not count: a mask of only such bits acts as 0.
  EXPECT_FALSE(SearchAccepts(FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_NORMAL, false));
  EXPECT_TRUE(SearchAccepts(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY, FILE_ATTRIBUTE_NORMAL, false));
  EXPECT_TRUE(SearchAccepts(FILE_ATTRIBUTE_NORMAL, 0, false));
  EXPECT_FALSE(SearchAccepts(FILE_ATTRIBUTE_ARCHIVE, 0, false));
}

std::set<std::string> SearchAll(const std::string& pattern, uint32_t mask, bool files_only) {
  std::set<std::string> names;
  uintptr_t handle = 0;
  services::OwnedValue name = services::FindFile(pattern.c_str(), mask, files_only, &handle);
  while (PointerOf(name.get())) {
    names.insert(name.text());
    EXPECT_NE(handle, 0u);
    name = services::FindFile(nullptr, mask, files_only, &handle);
  }
  EXPECT_EQ(handle, 0u) << "a finished search closes its handle";
  return names;
}

TEST(FileSearch, WalksEntriesByAttributes) {
  ScratchFolder folder("file_search");
  ASSERT_TRUE(WriteFileBytes(folder.File("a.bmp"), "1"));
  ASSERT_TRUE(WriteFileBytes(folder.File("只读.png"), "2"));
  ASSERT_TRUE(CreateDirectoryA(folder.File("sub").c_str(), nullptr));
  SetFileAttributesA(folder.File("a.bmp").c_str(), FILE_ATTRIBUTE_ARCHIVE);
  SetFileAttributesA(folder.File("只读.png").c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  const std::string pattern = folder.File("*.*");

  EXPECT_EQ(SearchAll(pattern, 0, true), (std::set<std::string>{"a.bmp", "只读.png"}));
  EXPECT_EQ(SearchAll(pattern, 0x20, false), (std::set<std::string>{"a.bmp", "只读.png"}));
  EXPECT_EQ(SearchAll(pattern, 0x01, false), (std::set<std::string>{"只读.png"}));
  const std::set<std::string> folders = SearchAll(pattern, 0x10, false);
  EXPECT_EQ(folders.count("sub"), 1u);
  EXPECT_EQ(folders.count("a.bmp"), 0u);
  EXPECT_EQ(SearchAll(folder.File("*.none"), 0, true), (std::set<std::string>{}));

  uintptr_t handle = 0;
  EXPECT_EQ(PointerOf(services::FindFile("", 0, true, &handle).get()), nullptr) << "nothing to continue";
  // A search closed early through routine 1.
  services::OwnedValue first = services::FindFile(pattern.c_str(), 0, true, &handle);
  EXPECT_NE(PointerOf(first.get()), nullptr);
  services::CloseFileSearch(handle);
  services::CloseFileSearch(0);
  SetFileAttributesA(folder.File("只读.png").c_str(), FILE_ATTRIBUTE_ARCHIVE);
}

// DLL commands: names with and without a folder, ordinals, the system list.
TEST(DllCommands, ResolvesNamesOrdinalsAndTheSystemList) {
  const char* files[] = {"kernel32.dll", "Comctl32.dll", "comctl32.dll", "", "", "C:\\windows\\system32\\user32.dll"};
  const char* entries[] = {"GetTickCount", "#12", "#65553", "GetTickCount", "ShellExecuteA", "MessageBoxA"};
  LoadDllCommandTable(6, files, entries);

  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  HMODULE comctl = LoadLibraryA("comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  HMODULE shell = LoadLibraryA("shell32.dll");
  EXPECT_EQ(services::DllCommand<void*>(0), reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount")));
  // Ordinal 12 of the common controls library, by number and by name.
  void* ordinal12 = services::DllCommand<void*>(1);
  EXPECT_EQ(ordinal12, reinterpret_cast<void*>(GetProcAddress(comctl, MAKEINTRESOURCEA(12))));
  EXPECT_EQ(ordinal12, reinterpret_cast<void*>(GetProcAddress(comctl, "CreatePropertySheetPageA")));
  // 65553 = 65536 + 17: only the low 16 bits count; 17 is InitCommonControls.
  EXPECT_EQ(services::DllCommand<void*>(2), reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControls")));
  EXPECT_EQ(services::DllCommand<void*>(3), reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount")));
  EXPECT_EQ(services::DllCommand<void*>(4), reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")))
      << "the last library of the system list";
  EXPECT_EQ(services::DllCommand<void*>(5),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxA")));
  // Cached: the second call answers the same without loading again.
  EXPECT_EQ(services::DllCommand<void*>(1), ordinal12);
  using TickCount = DWORD(WINAPI*)();
  EXPECT_NE(services::DllCommand<TickCount>(0)(), 0u);
  FreeDllCommandModules();
  FreeLibrary(comctl);
  FreeLibrary(shell);
}

}  // namespace
