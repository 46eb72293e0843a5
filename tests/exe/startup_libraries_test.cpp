// The dialog and shell libraries are not mapped when the tool starts, and
// the first Open maps them: start-up pays for neither.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "tool_driver.h"

namespace fenlodar::e2e {
namespace {

// The file names of the modules the process has mapped, in lower case;
// empty when the process cannot be looked at.
std::set<std::string> ModulesOf(DWORD process_id) {
  std::set<std::string> names;
  HANDLE snapshot =
      CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, process_id);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  MODULEENTRY32 module{};
  module.dwSize = sizeof(module);
  for (BOOL more = Module32First(snapshot, &module); more;
       more = Module32Next(snapshot, &module)) {
    std::string name = module.szModule;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    names.insert(name);
  }
  CloseHandle(snapshot);
  return names;
}

TEST(StartupLibrariesTest, DialogAndShellLibrariesWaitForTheFirstOpen) {
  RunningTool tool;
  std::string why;
  ASSERT_TRUE(tool.Start(WindowsPathOfUnixPath(FENLODAR_EXE), &why)) << why;

  const std::set<std::string> at_start = ModulesOf(tool.process_id());
  ASSERT_TRUE(at_start.count("user32.dll")) << "the tool's modules cannot be listed";
  EXPECT_FALSE(at_start.count("comdlg32.dll"));
  EXPECT_FALSE(at_start.count("shell32.dll"));

  tool.Click(Control::OpenButton);
  HWND dialog = tool.WaitForFileDialog();
  ASSERT_NE(dialog, nullptr) << "the first Open showed no dialog";
  const std::set<std::string> after_open = ModulesOf(tool.process_id());
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(after_open.count("comdlg32.dll"));
}

}  // namespace
}  // namespace fenlodar::e2e
