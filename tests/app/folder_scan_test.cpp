// Folder scan rules, on made-up trees and on a real one: depth first with the
// chosen folder last, each folder handed over before the walk lists the next
// one, "." folders and links not entered, every file added whatever its
// attributes or name.
#include "app/folder_scan.h"
#include "app/folder_listing_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/support/scratch_folder.h"

namespace tulvex {
namespace {

// A tree of folder name -> entries. `events` records the walk as it goes:
// "list X" when X is listed, "take X" when X's files are handed over.
struct FakeTree {
  std::map<std::string, std::vector<FolderEntry>> folders;
  std::vector<std::string> events;
  std::vector<std::string> taken;  // folders in the order handed over
  std::vector<std::string> files;  // every file handed over, in order
  std::vector<int> positions;  // the share done, as the progress bar shows it

  std::vector<std::string> Walk(const std::string& root, const std::function<bool()>& cancelled) {
    const auto list = [this](const std::string& folder) {
      events.push_back("list " + folder);
      const auto found = folders.find(folder);
      return found == folders.end() ? std::vector<FolderEntry>{} : found->second;
    };
    WalkFolderTree(root, list, cancelled, [this](ScannedFolder&& folder) {
      events.push_back("take " + folder.folder);
      taken.push_back(folder.folder);
      files.insert(files.end(), folder.files.begin(), folder.files.end());
      positions.push_back(static_cast<int>(folder.done * 10000));
    });
    return taken;
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
  EXPECT_EQ(tree.Walk("R", kNeverCancelled), (std::vector<std::string>{"R\\a\\deep", "R\\a", "R\\b", "R"}));
  EXPECT_EQ(tree.files, (std::vector<std::string>{"R\\a\\deep\\2.jpg", "R\\1.jpg"}));
  // Each folder's files go out as soon as the folders inside it are done,
  // before the walk lists the next folder.
  const std::vector<std::string> want_events = {"list R", "list R\\a", "list R\\a\\deep", "take R\\a\\deep",
                                                "take R\\a", "list R\\b", "take R\\b", "take R"};
  EXPECT_EQ(tree.events, want_events);
  // The share done grows to the whole: "deep" is half of "a", the first third.
  EXPECT_EQ(tree.positions, (std::vector<int>{1666, 3333, 6666, 10000}));
  // A chosen drive root already ends with its separator.
  FakeTree drive;
  drive.folders["C:\\"] = {Folder("x")};
  EXPECT_EQ(drive.Walk("C:\\", kNeverCancelled), (std::vector<std::string>{"C:\\x", "C:\\"}));
}

TEST(FolderScanTest, DotFoldersAndLinksAreNotEntered) {
  FakeTree tree;
  // "loop" points back up the tree: entering it would never end.
  tree.folders["R"] = {Folder(".git"), Folder("sub"), FolderLink("loop"), File(".profile")};
  tree.folders["R\\sub"] = {FolderLink("back")};
  tree.folders["R\\loop"] = {Folder("sub")};
  EXPECT_EQ(tree.Walk("R", kNeverCancelled), (std::vector<std::string>{"R\\sub", "R"}));
  for (const std::string& event : tree.events) {
    EXPECT_EQ(event.find("loop"), std::string::npos) << event;
    EXPECT_EQ(event.find(".git"), std::string::npos) << event;
  }
  // A file named with a leading dot is still a file to add.
  EXPECT_EQ(tree.files, (std::vector<std::string>{"R\\.profile"}));
}

TEST(FolderScanTest, CancelStopsTheWalkBeforeTheNextFolder) {
  FakeTree tree;
  tree.folders["R"] = {Folder("a"), Folder("b"), Folder("c"), File("r.jpg")};
  tree.folders["R\\a"] = {File("1.jpg")};
  int asked = 0;
  const auto cancel_after_two = [&asked] { return ++asked > 2; };
  EXPECT_EQ(tree.Walk("R", cancel_after_two), (std::vector<std::string>{"R\\a"}));
  EXPECT_EQ(tree.events, (std::vector<std::string>{"list R", "list R\\a", "take R\\a"}))
      << "no folder is listed or handed over after the cancel";
}

// A real tree under the test's scratch folder.
class RealFolderScanTest : public testing::Test {
 protected:
  void MakeFolder(const std::string& name) { ASSERT_TRUE(CreateDirectoryA(Path(name).c_str(), nullptr)) << name; }
  void MakeFile(const std::string& name) { ASSERT_TRUE(WriteFileBytes(Path(name), "x")) << name; }
  std::string Path(const std::string& name) const { return root_.File(name); }

  std::vector<std::string> ScanAll() {
    std::vector<std::string> files;
    WalkFolderTree(root_.path(), ListFolderEntries, kNeverCancelled, [&files](ScannedFolder&& folder) {
      files.insert(files.end(), folder.files.begin(), folder.files.end());
    });
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
