// Folder scan rules, on made-up trees and on a real one: depth first with the
// chosen folder last, "." folders and links not entered, every file added
// whatever its attributes or name.
#include "app/folder_scan.h"
#include "app/folder_listing_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/support/scratch_folder.h"

namespace tulvex {
namespace {

// A tree of folder name -> entries.
struct FakeTree {
  std::map<std::string, std::vector<FolderEntry>> folders;
  std::vector<std::string> listed;
  std::vector<FolderEntry> operator()(const std::string& folder) {
    listed.push_back(folder);
    const auto found = folders.find(folder);
    return found == folders.end() ? std::vector<FolderEntry>{} : found->second;
  }
};

FolderEntry Folder(const char* name) { return {name, true, false}; }
FolderEntry File(const char* name) { return {name, false, false}; }
FolderEntry FolderLink(const char* name) { return {name, true, true}; }

const auto kNeverCancelled = [] { return false; };

TEST(FolderScanTest, FoldersDepthFirstWithTheChosenFolderLast) {
  FakeTree tree;
  tree.folders["R"] = {Folder("."), Folder(".."), Folder("a"), File("1.jpg"), Folder("b")};
  tree.folders["R\\a"] = {Folder("."), Folder(".."), Folder("deep")};
  tree.folders["R\\a\\deep"] = {File("2.jpg")};
  tree.folders["R\\b"] = {};
  const auto list = [&tree](const std::string& folder) { return tree(folder); };
  const std::vector<std::string> want = {"R\\a\\deep", "R\\a", "R\\b", "R"};
  EXPECT_EQ(FoldersToScan("R", list, kNeverCancelled), want);
  // A chosen drive root already ends with its separator.
  tree.folders["C:\\"] = {Folder("x")};
  EXPECT_EQ(FoldersToScan("C:\\", list, kNeverCancelled), (std::vector<std::string>{"C:\\x", "C:\\"}));
}

TEST(FolderScanTest, DotFoldersAndLinksAreNotEntered) {
  FakeTree tree;
  // "loop" points back up the tree: entering it would never end.
  tree.folders["R"] = {Folder(".git"), Folder("sub"), FolderLink("loop"), File(".profile")};
  tree.folders["R\\sub"] = {FolderLink("back")};
  tree.folders["R\\loop"] = {Folder("sub")};
  const auto list = [&tree](const std::string& folder) { return tree(folder); };
  EXPECT_EQ(FoldersToScan("R", list, kNeverCancelled), (std::vector<std::string>{"R\\sub", "R"}));
  for (const std::string& listed : tree.listed) {
    EXPECT_EQ(listed.find("loop"), std::string::npos) << "entered " << listed;
    EXPECT_EQ(listed.find(".git"), std::string::npos) << "entered " << listed;
  }
  // A file named with a leading dot is still a file to add.
  EXPECT_EQ(FilesIn("R", list), (std::vector<std::string>{"R\\.profile"}));
}

TEST(FolderScanTest, CancelStopsTheWalk) {
  FakeTree tree;
  tree.folders["R"] = {Folder("a"), Folder("b"), Folder("c")};
  const auto list = [&tree](const std::string& folder) { return tree(folder); };
  int asked = 0;
  const auto cancel_after_one = [&asked] { return ++asked > 1; };
  EXPECT_EQ(FoldersToScan("R", list, cancel_after_one), (std::vector<std::string>{"R\\a", "R"}));
}

// A real tree under the test's scratch folder.
class RealFolderScanTest : public testing::Test {
 protected:
  void MakeFolder(const std::string& name) { ASSERT_TRUE(CreateDirectoryA(Path(name).c_str(), nullptr)) << name; }
  void MakeFile(const std::string& name) { ASSERT_TRUE(WriteFileBytes(Path(name), "x")) << name; }
  std::string Path(const std::string& name) const { return root_.File(name); }

  std::vector<std::string> ScanAll() {
    std::vector<std::string> files;
    for (const std::string& folder : FoldersToScan(root_.path(), ListFolderEntries, kNeverCancelled)) {
      for (const std::string& file : FilesIn(folder, ListFolderEntries)) files.push_back(file);
    }
    return files;
  }

  ScratchFolder root_{"folder_scan"};
};

TEST_F(RealFolderScanTest, AddsEveryFileWhateverItsAttributesAndName) {
  MakeFolder("sub");
  MakeFolder("sub\\deep");
  MakeFolder(".hidden");
  MakeFile("top.jpg");
  MakeFile("a;b.png");
  MakeFile("sub\\deep\\inner.bmp");
  MakeFile(".hidden\\skipped.jpg");
  MakeFile("plain.bmp");
  // No archive bit, hidden and read-only: as much a picture as any other.
  // (Wine keeps the archive bit on every file; Windows clears it here.)
  ASSERT_TRUE(SetFileAttributesA(Path("plain.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  ASSERT_NE(GetFileAttributesA(Path("plain.bmp").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

  const std::vector<std::string> files = ScanAll();
  std::vector<std::string> sorted = files;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> want = {Path("a;b.png"), Path("plain.bmp"), Path("sub\\deep\\inner.bmp"),
                                   Path("top.jpg")};
  std::sort(want.begin(), want.end());
  EXPECT_EQ(sorted, want);
  // The deep file comes before the chosen folder's own files.
  EXPECT_EQ(files.front(), Path("sub\\deep\\inner.bmp"));
  SetFileAttributesA(Path("plain.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);  // so the scratch folder goes
}

TEST_F(RealFolderScanTest, DoesNotFollowALinkBackUpTheTree) {
  MakeFolder("sub");
  MakeFile("sub\\one.jpg");
  using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  const auto create_link = reinterpret_cast<CreateLink>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
  constexpr DWORD kFolderLink = 1;  // SYMBOLIC_LINK_FLAG_DIRECTORY
  const std::string absolute_root = [this] {
    char full[MAX_PATH];
    return std::string(full, GetFullPathNameA(root_.path().c_str(), MAX_PATH, full, nullptr));
  }();
  if (!create_link || !create_link(Path("sub\\loop").c_str(), absolute_root.c_str(), kFolderLink)) {
    GTEST_SKIP() << "this system makes no folder links (error " << GetLastError()
                 << "); the link rule is covered by DotFoldersAndLinksAreNotEntered";
  }
  const DWORD attributes = GetFileAttributesA(Path("sub\\loop").c_str());
  ASSERT_NE(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << "the link does not show as a reparse point";
  EXPECT_EQ(ScanAll(), (std::vector<std::string>{Path("sub\\one.jpg")}));
  RemoveDirectoryA(Path("sub\\loop").c_str());
}

}  // namespace
}  // namespace tulvex
