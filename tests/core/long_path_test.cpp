// Paths at the ANSI calls' limit, under Wine: a task path of 255 bytes,
// whose backup path is 259, is the longest that works; 256 cannot have a
// backup. A temporary name fits beside every such task file; where none
// fits (a long folder and a short name), the write is made in place.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include "backup_restore.h"
#include "rewrite_fixture.h"
#include "texts.h"

namespace fenlodar::testing {
namespace {

using Notices = std::vector<std::string>;

class LongPathTest : public RewriteTest {
 protected:
  // A folder inside the test folder whose own path is `length` bytes.
  std::string FolderOfLength(std::size_t length) {
    const std::size_t base = folder.path().size() + 1;
    EXPECT_GT(length, base);
    const std::string name(length - base, 'd');
    return folder.MakeFolder(name);
  }
  // Puts `bytes` at a path of `length` bytes named ...`name` and makes it
  // the current task file.
  std::string PutTask(std::size_t length, const std::string& name,
                      const std::string& bytes) {
    const std::string dir = FolderOfLength(length - 1 - name.size());
    const std::string path = dir + "\\" + name;
    EXPECT_EQ(path.size(), length);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path.size();
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    CurrentTaskPath = path;
    return path;
  }
  std::vector<std::string> EntriesOf(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(LongPathTest, RewriteAndRestoreUpToA255BytePath) {
  for (std::size_t length : {250u, 255u}) {
    SCOPED_TRACE(length);
    const std::string original = Layout({kOld, kOld});
    const std::string path = PutTask(length, "t.td.cfg", original);
    LoadTaskFile(window);
    ASSERT_EQ(window.boxes[Box::OriginalAddressBox], kOld);
    window.boxes[Box::NewAddressBox] = kNew;
    window.events.clear();
    OnModifyClicked(window);
    EXPECT_EQ(window.Notices(), Notices{texts::kNoticeModifyDone});
    EXPECT_EQ(ReadWholeFile(path), Layout({kNew, kNew}));
    EXPECT_EQ(BackupPathOf(path).size(), length + 4);
    EXPECT_EQ(ReadWholeFile(BackupPathOf(path)), original);
    window.events.clear();
    OnRestoreClicked(window);
    EXPECT_EQ(window.Notices(), Notices{texts::kNoticeRestoreDone});
    EXPECT_EQ(ReadWholeFile(path), original);
    EXPECT_EQ(EntriesOf(path.substr(0, path.size() - 9)),
              (std::vector<std::string>{"t.td.cfg", "t.td.cfg.bak"}));
    RemoveDirectoryA(path.substr(0, path.size() - 9).c_str());  // fails: not empty; next
    DeleteFileA(BackupPathOf(path).c_str());
    DeleteFileA(path.c_str());
    RemoveDirectoryA(path.substr(0, path.size() - 9).c_str());
  }
}

TEST_F(LongPathTest, A256BytePathHasNoRoomForItsBackup) {
  const std::string original = Layout({kOld});
  const std::string path = PutTask(256, "t.td.cfg", original);
  LoadTaskFile(window);
  ASSERT_EQ(window.boxes[Box::OriginalAddressBox], kOld) << "loading still works";
  window.boxes[Box::NewAddressBox] = kNew;
  window.events.clear();
  OnModifyClicked(window);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeBackupFailed});
  EXPECT_EQ(ReadWholeFile(path), original);
  window.events.clear();
  OnRestoreClicked(window);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeRestoreNoBackup});
  EXPECT_EQ(ReadWholeFile(path), original);
  EXPECT_EQ(EntriesOf(path.substr(0, path.size() - 9)),
            std::vector<std::string>{"t.td.cfg"});
}

// A refused file (its name lacks ".td.cfg") stays the current one, and
// Modify works on it: with a 1-byte name in a folder of 249 bytes, no
// temporary name fits beside the task file or its backup.
TEST_F(LongPathTest, WhereNoTemporaryNameFitsTheWriteIsMadeInPlace) {
  const std::string original = Layout({kOld});
  const std::string path = PutTask(251, "y", original);
  window.boxes[Box::OriginalAddressBox] = kOld;
  window.boxes[Box::NewAddressBox] = kNew;
  OnModifyClicked(window);
  EXPECT_EQ(window.Notices(),
            (Notices{texts::kNoticeNotTaskFile, texts::kNoticeModifyDone}));
  EXPECT_EQ(ReadWholeFile(path), Layout({kNew}));
  EXPECT_EQ(ReadWholeFile(BackupPathOf(path)), original);
  window.events.clear();
  OnRestoreClicked(window);
  EXPECT_EQ(ReadWholeFile(path), original);
  EXPECT_EQ(EntriesOf(path.substr(0, path.size() - 2)),
            (std::vector<std::string>{"y", "y.bak"}));
}

TEST_F(LongPathTest, InPlaceWritesCreateReplaceAndRefuseAsAnyWrite) {
  const std::string dir = FolderOfLength(252);
  const std::string path = dir + "\\x";  // 254 bytes: 252 + 1 + 11 > 259
  EXPECT_TRUE(WriteWholeFile(path, "first bytes, longer than the next"));
  EXPECT_EQ(ReadWholeFile(path), "first bytes, longer than the next");
  EXPECT_TRUE(WriteWholeFile(path, "second"));
  EXPECT_EQ(ReadWholeFile(path), "second");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(WriteWholeFile(path, "hidden stays hidden"));
  EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteWholeFile(path, "refused"));
  EXPECT_EQ(ReadWholeFile(path), "hidden stays hidden");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(EntriesOf(dir), std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace fenlodar::testing

#endif
