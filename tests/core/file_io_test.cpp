#include "file_io.h"

#include <gtest/gtest.h>

#include "task_file_builder.h"
#include "temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>

#include "size_limited_child.h"
#endif

namespace fenlodar::testing {
namespace {

using namespace std::string_literals;

const std::string kBytes = "\x01\0\0\0http://a/\xce\xc4\0\0\0\xff"s;

TEST(ReadWholeFile, GivesBytesOrNothing) {
  TempFolder folder;
  EXPECT_EQ(ReadWholeFile(folder.Put("a.bin", kBytes)), kBytes);
  EXPECT_EQ(ReadWholeFile(folder.Put(std::string(kGbkDownloadName) + ".td.cfg", kBytes)),
            kBytes);
  EXPECT_EQ(ReadWholeFile(""), "");
  EXPECT_EQ(ReadWholeFile(folder.PathOf("missing")), "");
  EXPECT_EQ(ReadWholeFile(folder.MakeFolder("dir")), "");
  EXPECT_EQ(ReadWholeFile(folder.Put("empty", "")), "");
}

TEST(FileSizeOf, ReadsTheDirectoryEntry) {
  TempFolder folder;
  EXPECT_EQ(FileSizeOf(""), -1);
  EXPECT_EQ(FileSizeOf(folder.PathOf("missing")), -1);
  EXPECT_EQ(FileSizeOf(folder.Put("empty", "")), 0);
  EXPECT_EQ(FileSizeOf(folder.Put("big", std::string(102401, 'x'))), 102401);
}

TEST(WriteWholeFile, CreatesAndReplacesWholeFiles) {
  TempFolder folder;
  const std::string path = folder.PathOf("t.td.cfg");
  EXPECT_TRUE(WriteWholeFile(path, std::string(5000, 'a')));
  EXPECT_TRUE(WriteWholeFile(path, kBytes));  // shorter: nothing of the old left
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  EXPECT_TRUE(WriteWholeFile(path, ""));
  EXPECT_EQ(FileSizeOf(path), 0);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg"}) << "no temporary file left";
}

TEST(WriteWholeFile, FailureLeavesTargetAndFolderAlone) {
  TempFolder folder;
  EXPECT_FALSE(WriteWholeFile("", kBytes));
  EXPECT_FALSE(WriteWholeFile(folder.PathOf("no-such-folder") + kPathSeparator + "t", kBytes));
  // A folder where the file should be: refused, the folder survives.
  const std::string dir = folder.MakeFolder("t.td.cfg.bak");
  EXPECT_FALSE(WriteWholeFile(dir, kBytes));
  EXPECT_EQ(FileSizeOf(dir), 0);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg.bak"});
}

#ifdef _WIN32

// Another program's handle, as the download manager would hold the file.
struct OtherHandle {
  HANDLE handle;
  OtherHandle(const std::string& path, DWORD access, DWORD share)
      : handle(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << path;
  }
  ~OtherHandle() { CloseHandle(handle); }
};

TEST(Win32Sharing, FileHeldOpenForWritingReadsEmptyButHasASize) {
  TempFolder folder;
  const std::string path = folder.Put("held.td.cfg", kBytes);
  OtherHandle writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_EQ(ReadWholeFile(path), "");
  EXPECT_EQ(FileSizeOf(path), static_cast<std::int64_t>(kBytes.size()));
}

TEST(Win32Sharing, OtherReadersMayShare) {
  TempFolder folder;
  const std::string path = folder.Put("read.td.cfg", kBytes);
  OtherHandle reader(path, GENERIC_READ, FILE_SHARE_READ);
  EXPECT_EQ(ReadWholeFile(path), kBytes);
}

TEST(Win32Sharing, WriteOverAFileInUseFailsAndChangesNothing) {
  TempFolder folder;
  const std::string path = folder.Put("busy.td.cfg", kBytes);
  for (DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                    FILE_SHARE_DELETE}}) {
    OtherHandle reader(path, GENERIC_READ, share);
    EXPECT_FALSE(WriteWholeFile(path, "new bytes")) << "share " << share;
  }
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"busy.td.cfg"});
}

TEST(Win32Sharing, ReadOnlyTargetIsRefused) {
  TempFolder folder;
  const std::string path = folder.Put("ro.td.cfg", kBytes);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteWholeFile(path, "new bytes"));
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"ro.td.cfg"});
}

TEST(Win32Sharing, ReplaceKeepsTheTargetsAttributes) {
  TempFolder folder;
  const std::string path = folder.Put("hidden.td.cfg", kBytes);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(WriteWholeFile(path, "new bytes"));
  EXPECT_EQ(ReadWholeFile(path), "new bytes");
  EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

#else

bool WriteWithSizeLimit(const std::string& path, const std::string& bytes, rlim_t limit) {
  return RunWithFileSizeLimit(limit, [&] { return WriteWholeFile(path, bytes); });
}

TEST(PosixWrite, WriteCutOffMidwayKeepsTheOldBytes) {
  TempFolder folder;
  const std::string path = folder.Put("t.td.cfg", kBytes);
  EXPECT_FALSE(WriteWithSizeLimit(path, std::string(8000, 'n'), 4096));
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg"});
  EXPECT_TRUE(WriteWithSizeLimit(path, std::string(4000, 'n'), 4096));
  EXPECT_EQ(ReadWholeFile(path), std::string(4000, 'n'));
}

TEST(PosixWrite, KeepsPermissionBits) {
  TempFolder folder;
  const std::string path = folder.Put("t.td.cfg", kBytes);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  EXPECT_TRUE(WriteWholeFile(path, "new"));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

#endif

}  // namespace
}  // namespace fenlodar::testing
