// The dialog and shell libraries loaded at first use: found in the system
// folder, and when they cannot be loaded, each road fails as its platform
// call would: the drag is refused, the drop delivers nothing, the visit
// request is silent.
#include "system_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button_handlers.h"
#include "fake_data_object.h"
#include "file_drop_target.h"
#include "recording_window.h"
#include "temp_folder.h"

namespace fenlodar::testing {
namespace {

// Loads from a folder that holds no libraries while it lives.
class LibrariesMissing {
 public:
  LibrariesMissing() { SetLibraryFolderForTesting(empty_.path()); }
  ~LibrariesMissing() { SetLibraryFolderForTesting(""); }
  LibrariesMissing(const LibrariesMissing&) = delete;
  LibrariesMissing& operator=(const LibrariesMissing&) = delete;

 private:
  TempFolder empty_;
};

TEST(SystemLibraryTest, CallsAreFoundInTheSystemFolder) {
  EXPECT_NE(GetOpenFileNameCall(), nullptr);
  EXPECT_NE(DragQueryFileCall(), nullptr);
  EXPECT_NE(ShellExecuteCall(), nullptr);
}

TEST(SystemLibraryTest, AFailedLoadIsTriedAgainLater) {
  {
    LibrariesMissing missing;
    EXPECT_EQ(GetOpenFileNameCall(), nullptr);
    EXPECT_EQ(DragQueryFileCall(), nullptr);
    EXPECT_EQ(ShellExecuteCall(), nullptr);
  }
  EXPECT_NE(GetOpenFileNameCall(), nullptr);
  EXPECT_NE(DragQueryFileCall(), nullptr);
  EXPECT_NE(ShellExecuteCall(), nullptr);
}

TEST(SystemLibraryTest, WithoutTheShellLibraryFilesCannotBeDropped) {
  LibrariesMissing missing;
  std::vector<std::string> delivered;
  FileDropTarget target{[&](const std::string& names) { delivered.push_back(names); }};
  FakeDataObject files = FakeDataObject::FileList({"C:\\tasks\\a.td.cfg"});
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(target.DragEnter(&files, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));  // the no-drop cursor
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target.Drop(&files, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(delivered, std::vector<std::string>{});
}

TEST(SystemLibraryTest, WithoutTheShellLibraryAVisitIsSilent) {
  LibrariesMissing missing;
  RecordingWindow window;
  window.boxes[Box::ReferrerBox] = "http://example.com/page.html";
  OnVisitClicked(window);
  EXPECT_EQ(window.Notices(), std::vector<std::string>{});
}

}  // namespace
}  // namespace fenlodar::testing
