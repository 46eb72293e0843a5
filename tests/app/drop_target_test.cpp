// The drop target driven through its IDropTarget interface: what it
// accepts, the effect it offers, and the one text a drop delivers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "current_task.h"
#include "drop_effect.h"
#include "fake_data_object.h"
#include "file_drop_target.h"
#include "temp_folder.h"
#include "texts.h"
#include "window_fixture.h"

namespace fenlodar::testing {
namespace {

constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

TEST(DropEffectTest, FollowsTheKeysHeldAndWhatTheSourceAllows) {
  const struct {
    DWORD keys;
    DWORD allowed;
    DWORD effect;
  } cases[] = {
      {0, kAll, DROPEFFECT_COPY},
      {0, DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE},
      {0, DROPEFFECT_LINK, DROPEFFECT_LINK},
      {0, DROPEFFECT_NONE, DROPEFFECT_NONE},
      {MK_LBUTTON, kAll, DROPEFFECT_COPY},  // mouse buttons are no keys
      {MK_CONTROL, kAll, DROPEFFECT_COPY},
      {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_NONE},  // copy not allowed
      {MK_SHIFT, kAll, DROPEFFECT_MOVE},
      {MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_LINK, DROPEFFECT_NONE},
      {MK_CONTROL | MK_SHIFT, kAll, DROPEFFECT_NONE},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DropEffectFor(c.keys, c.allowed), c.effect)
        << "keys " << c.keys << " allowed " << c.allowed;
}

class DropTargetTest : public ::testing::Test {
 protected:
  FileDropTarget target_{
      [this](const std::string& names) { delivered_.push_back(names); }};
  std::vector<std::string> delivered_;

  DWORD Enter(IDataObject& data, DWORD keys = 0, DWORD allowed = kAll) {
    DWORD effect = allowed;
    EXPECT_EQ(target_.DragEnter(&data, keys, {}, &effect), S_OK);
    return effect;
  }
  DWORD Over(DWORD keys = 0, DWORD allowed = kAll) {
    DWORD effect = allowed;
    EXPECT_EQ(target_.DragOver(keys, {}, &effect), S_OK);
    return effect;
  }
  // Enters, then drops; gives the effect reported back to the source.
  DWORD EnterAndDrop(IDataObject& data, DWORD keys = 0, DWORD allowed = kAll) {
    Enter(data, keys, allowed);
    DWORD effect = allowed;
    EXPECT_EQ(target_.Drop(&data, keys, {}, &effect), S_OK);
    return effect;
  }
};

TEST_F(DropTargetTest, FileListsAreAcceptedAndTextIsRefused) {
  FakeDataObject files = FakeDataObject::FileList({"C:\\tasks\\a.td.cfg"});
  EXPECT_EQ(Enter(files), DROPEFFECT_COPY);
  EXPECT_EQ(Over(MK_SHIFT), DROPEFFECT_MOVE);
  EXPECT_EQ(Over(MK_CONTROL | MK_SHIFT), DROPEFFECT_NONE);
  EXPECT_EQ(target_.DragLeave(), S_OK);

  FakeDataObject text = FakeDataObject::Text("http://example.com/a.zip");
  EXPECT_EQ(Enter(text), DROPEFFECT_NONE);
  EXPECT_EQ(Over(), DROPEFFECT_NONE);
  EXPECT_EQ(EnterAndDrop(text), DROPEFFECT_NONE);
  EXPECT_EQ(delivered_, std::vector<std::string>{});
}

TEST_F(DropTargetTest, OneDropDeliversOneTextAndIsNeverReportedAsPerformed) {
  const std::string gbk_name = std::string("C:\\") + texts::kCaptionTaskName + "\\" +
                               texts::kCaptionOpen + ".td.cfg";
  const struct {
    std::vector<std::string> names;
    std::string text;
  } cases[] = {
      {{"C:\\tasks\\a.td.cfg"}, "C:\\tasks\\a.td.cfg"},  // alone, no CR LF
      {{"C:\\b.td.cfg", "C:\\a.td.cfg"},
       "C:\\b.td.cfg\r\nC:\\a.td.cfg\r\n"},  // list order
      {{gbk_name}, gbk_name},                // GBK bytes arrive exactly
  };
  for (const auto& c : cases) {
    delivered_.clear();
    FakeDataObject files = FakeDataObject::FileList(c.names);
    EXPECT_EQ(EnterAndDrop(files), DROPEFFECT_NONE);
    EXPECT_EQ(delivered_, std::vector<std::string>{c.text});
  }
}

TEST_F(DropTargetTest, KeysThatGiveNoEffectAtTheDropDeliverNothing) {
  FakeDataObject files = FakeDataObject::FileList({"C:\\a.td.cfg"});
  EXPECT_EQ(EnterAndDrop(files, MK_CONTROL | MK_SHIFT), DROPEFFECT_NONE);
  EXPECT_EQ(EnterAndDrop(files, MK_CONTROL, DROPEFFECT_MOVE), DROPEFFECT_NONE);
  EXPECT_EQ(delivered_, std::vector<std::string>{});
  // Shift alone moves: delivered, and still reported as not performed.
  EXPECT_EQ(EnterAndDrop(files, MK_SHIFT), DROPEFFECT_NONE);
  EXPECT_EQ(delivered_, std::vector<std::string>{"C:\\a.td.cfg"});
}

TEST(DropRegistrationTest, ASecondRegistrationFailsAndLeavesTheFirstInForce) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  FileDropTarget target{[](const std::string&) {}};
  EXPECT_TRUE(target.Register(window));
  EXPECT_FALSE(target.Register(window));
  EXPECT_FALSE(target.Register(other));
  // The first stays registered; the other window was never touched.
  FileDropTarget probe{[](const std::string&) {}};
  EXPECT_EQ(RegisterDragDrop(window, &probe), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_EQ(RegisterDragDrop(other, &probe), S_OK);
  RevokeDragDrop(other);
  target.Revoke();
  DestroyWindow(window);
  DestroyWindow(other);
}

TEST(DropRegistrationTest, AFailedRegistrationKeepsTheHandle) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  FileDropTarget target{[](const std::string&) {}};
  EXPECT_FALSE(target.Register(reinterpret_cast<HWND>(0x1234)));  // no such window
  EXPECT_FALSE(target.Register(window));
  FileDropTarget probe{[](const std::string&) {}};
  EXPECT_EQ(RegisterDragDrop(window, &probe), S_OK);
  RevokeDragDrop(window);
  DestroyWindow(window);
}

using WindowDropTest = WindowTest;

TEST_F(WindowDropTest, TheWindowIsRegisteredAtCreationAndADroppedFolderIsLoaded) {
  EXPECT_FALSE(window_->DropTarget().Register(Frame()));
  FileDropTarget probe{[](const std::string&) {}};
  EXPECT_EQ(RegisterDragDrop(Frame(), &probe), DRAGDROP_E_ALREADYREGISTERED);

  TempFolder folder;
  const std::string dropped = folder.MakeFolder("a.td.cfg");
  FakeDataObject files = FakeDataObject::FileList({dropped});
  DWORD effect = kAll;
  window_->DropTarget().DragEnter(&files, 0, {}, &effect);
  effect = kAll;
  window_->DropTarget().Drop(&files, 0, {}, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(CurrentTaskPath, dropped);
  EXPECT_EQ(window_->notices, std::vector<std::string>{texts::kNoticeReadFailed});
  EXPECT_EQ(TextOf(Control(Role::TaskNameBox)), "");
}

}  // namespace
}  // namespace fenlodar::testing
