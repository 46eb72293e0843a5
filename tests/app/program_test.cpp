#include "program.h"

#include <gtest/gtest.h>

#include "current_task.h"

namespace fenlodar {
namespace {

TEST(ProgramFolderTest, IsThePathUpToItsLastBackslash) {
  const struct {
    std::string path;
    std::string folder;
  } cases[] = {
      {"C:\\tools\\fenlodar.exe", "C:\\tools"},
      {"C:\\fenlodar.exe", "C:"},
      {"\\\\server\\share\\fenlodar.exe", "\\\\server\\share"},
      // 0xB1 0x5C is one GBK character: its trail byte is no separator.
      {"C:\\a\xb1\x5c"
       "b.exe",
       "C:"},
      {"fenlodar.exe", "fenlodar.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
}

TEST(ProgramExitTest, ReleasesTheCurrentTaskPath) {
  CurrentTaskPath = "C:\\tasks\\a.td.cfg";
  OnProgramExit();
  EXPECT_EQ(CurrentTaskPath, "");
}

}  // namespace
}  // namespace fenlodar
