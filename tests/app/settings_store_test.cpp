// Where the remembered choices go: the system drive's file while it can be
// written, the application-data copy once it cannot, and that copy from then
// on. The files are an in-memory stand-in that fails writes on demand, then
// the program's own INI files.
#include "app/settings_store.h"
#include "app/settings_files_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/support/scratch_folder.h"

namespace tulvex {
namespace {

constexpr char kPrimary[] = "c:\\kelo_jpg.ini";
constexpr char kFallback[] = "C:\\users\\me\\AppData\\Roaming\\Tulvex\\kelo_jpg.ini";

class FakeSettingsFiles : public SettingsFiles {
 public:
  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  std::string Read(const std::string& path, const std::string& key, const std::string& fallback) override {
    const auto file = files.find(path);
    if (file == files.end()) return fallback;
    const auto item = file->second.find(key);
    return item == file->second.end() ? fallback : item->second;
  }
  bool Write(const std::string& path, const std::string& key, const std::string& value) override {
    ++writes[path];
    if (unwritable.count(path)) return false;
    files[path][key] = value;
    return true;
  }
  bool MakeFolderFor(const std::string& path) override {
    folders_made.insert(path);
    return !folder_fails;
  }

  std::map<std::string, std::map<std::string, std::string>> files;
  std::set<std::string> unwritable;
  std::set<std::string> folders_made;
  std::map<std::string, int> writes;
  bool folder_fails = false;
};

TEST(SettingsStoreTest, WritesTheSystemDriveFileWhileItCanBeWritten) {
  FakeSettingsFiles files;
  SettingsStore store(files, kPrimary, kFallback);
  EXPECT_EQ(store.Read(kSaveModeKey, "a"), "a");  // first start: the default
  EXPECT_TRUE(store.Write(kSaveModeKey, "b"));
  EXPECT_EQ(files.files[kPrimary][kSaveModeKey], "b");
  EXPECT_FALSE(files.Exists(kFallback));
  EXPECT_EQ(store.Read(kSaveModeKey, "a"), "b");
  EXPECT_EQ(store.CurrentPath(), kPrimary);
}

TEST(SettingsStoreTest, AFailedWriteMovesEveryChoiceToApplicationData) {
  FakeSettingsFiles files;
  files.files[kPrimary][kSaveFolderKey] = "D:\\out";
  files.files[kPrimary][kKeepDatesKey] = "1";
  files.unwritable.insert(kPrimary);
  SettingsStore store(files, kPrimary, kFallback);
  EXPECT_TRUE(store.Write(kSaveModeKey, "b"));
  EXPECT_EQ(files.folders_made.count(kFallback), 1u);
  // The new choice and the one already kept are both in the new file.
  EXPECT_EQ(files.files[kFallback][kSaveModeKey], "b");
  EXPECT_EQ(files.files[kFallback][kSaveFolderKey], "D:\\out");
  EXPECT_EQ(files.files[kFallback][kKeepDatesKey], "1");
  EXPECT_EQ(store.Read(kSaveModeKey, "a"), "b");
  EXPECT_EQ(store.Read(kSaveFolderKey, "prog"), "D:\\out");
}

TEST(SettingsStoreTest, TheApplicationDataCopyWinsOnceItExists) {
  FakeSettingsFiles files;
  files.files[kPrimary][kSaveModeKey] = "a";
  files.files[kFallback][kSaveModeKey] = "b";
  SettingsStore store(files, kPrimary, kFallback);
  EXPECT_EQ(store.Read(kSaveModeKey, "a"), "b");
  // Even with the system drive writable again, writes stay in the copy.
  EXPECT_TRUE(store.Write(kSaveFolderKey, "E:\\pics"));
  EXPECT_EQ(files.files[kFallback][kSaveFolderKey], "E:\\pics");
  EXPECT_EQ(files.writes[kPrimary], 0);
}

TEST(SettingsStoreTest, AMissingKeyIsNotCopiedAsAnEmptyValue) {
  FakeSettingsFiles files;
  files.unwritable.insert(kPrimary);
  SettingsStore store(files, kPrimary, kFallback);
  EXPECT_TRUE(store.Write(kSaveFolderKey, "D:\\x"));
  // The mode never stored must keep reading as its default, not as "".
  EXPECT_EQ(store.Read(kSaveModeKey, "a"), "a");
  EXPECT_EQ(files.files[kFallback].count(kSaveModeKey), 0u);
}

TEST(SettingsStoreTest, FailureEverywhereIsReportedNotHidden) {
  FakeSettingsFiles files;
  files.unwritable = {kPrimary, kFallback};
  SettingsStore store(files, kPrimary, kFallback);
  EXPECT_FALSE(store.Write(kSaveModeKey, "b"));

  FakeSettingsFiles no_folder;
  no_folder.unwritable.insert(kPrimary);
  no_folder.folder_fails = true;
  SettingsStore store2(no_folder, kPrimary, kFallback);
  EXPECT_FALSE(store2.Write(kSaveModeKey, "b"));

  FakeSettingsFiles no_app_data;
  no_app_data.unwritable.insert(kPrimary);
  SettingsStore store3(no_app_data, kPrimary, "");
  EXPECT_FALSE(store3.Write(kSaveModeKey, "b"));
  EXPECT_TRUE(no_app_data.folders_made.empty());
}

}  // namespace
}  // namespace tulvex

// The same rules with the program's real INI files: a system-drive file
// that cannot be written (its folder does not exist) moves the choices to
// the application-data copy.
namespace tulvex {
namespace {

// INI paths without a folder part go to the Windows folder: make them full.
std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return std::string(full, length < MAX_PATH ? length : 0);
}

TEST(WindowsSettingsFilesTest, AnUnwritableFileFallsBackToApplicationData) {
  ScratchFolder scratch("settings");
  ASSERT_TRUE(CreateDirectoryA(scratch.File("appdata").c_str(), nullptr));
  const std::string unwritable = FullPath(scratch.File("no such folder\\kelo_jpg.ini"));
  const std::string fallback = FullPath(scratch.File("appdata\\Tulvex\\kelo_jpg.ini"));
  WindowsSettingsFiles files;
  SettingsStore store(files, unwritable, fallback);

  EXPECT_EQ(store.Read(kSaveModeKey, "a"), "a");
  ASSERT_TRUE(store.Write(kSaveFolderKey, "D:\\图片"));
  ASSERT_TRUE(files.Exists(fallback));
  EXPECT_EQ(store.CurrentPath(), fallback);
  EXPECT_EQ(store.Read(kSaveFolderKey, ""), "D:\\图片");
  EXPECT_NE(ReadFileBytes(fallback).find("[Tulvex]"), std::string::npos);
}

TEST(WindowsSettingsFilesTest, AWritableFileStaysWhereItIs) {
  ScratchFolder scratch("settings_primary");
  const std::string primary = FullPath(scratch.File("kelo_jpg.ini"));
  const std::string fallback = FullPath(scratch.File("appdata\\Tulvex\\kelo_jpg.ini"));
  WindowsSettingsFiles files;
  SettingsStore store(files, primary, fallback);
  ASSERT_TRUE(store.Write(kSaveModeKey, "b"));
  EXPECT_TRUE(files.Exists(primary));
  EXPECT_FALSE(files.Exists(fallback));
  EXPECT_EQ(store.Read(kSaveModeKey, "a"), "b");
}

TEST(WindowsSettingsFilesTest, TheFallbackLivesInTheUsersApplicationData) {
  const std::string path = FallbackSettingsPath();
  ASSERT_FALSE(path.empty());
  const std::string tail = "\\Tulvex\\kelo_jpg.ini";
  ASSERT_GT(path.size(), tail.size());
  EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
}

}  // namespace
}  // namespace tulvex
